#pragma once

#include "text/Types.h"

#include <optional>

// Profile (INI) file text read and edited the way the Windows profile functions treat it, so
// that a settings file written by either build reads the same in the other:
// - lines end in CR LF, LF or CR; new lines are written with CR LF;
// - "[name]" starts a section (the name is what lies between '[' and the last ']', trimmed);
//   "key=value" is an item; lines starting with ';' are comments; other lines are kept as
//   they are and never match;
// - section and key names match without regard to ASCII case; blanks around names and values
//   are dropped; a value enclosed in matching quotes (' or ") reads without them;
// - only the first section of a name counts, and in it the first key of a name: both for
//   reading and for writing;
// - an update keeps every other byte of the file: a changed value replaces the old one on its
//   line, a new key goes after the last non-blank line of its section, a new section goes at
//   the end of the file;
// - text is in code page 936; a file starting with a UTF-8 or UTF-16LE byte-order mark is read
//   in that encoding and written back in it.
// Bytes that are no text (binary files, zero bytes) are carried along; nothing here fails.
namespace tovrik::settings {

// The value of the key, or nothing when the file has no such section or key.
[[nodiscard]] std::optional<Text> IniLookup(BytesView file, TextView section, TextView key);
// The file with the key set to the value (created with its section when missing).
[[nodiscard]] Bytes IniUpdate(BytesView file, TextView section, TextView key, TextView value);

} // namespace tovrik::settings
