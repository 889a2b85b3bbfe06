#pragma once

#include "text/Types.h"

// What the start-up check of the settings file found and did, so that no setting is lost
// without the user being told: a file in UTF-8 (what editors outside Windows save) is rewritten
// once in code page 936, the original kept beside it; a file that cannot be read as settings
// is set aside and the defaults take its place.
namespace tovrik::settings {

enum class SettingsRepair {
    None,              // missing, or a settings file as it should be
    ConvertedFromUtf8, // rewritten in code page 936; the original is kept
    SetAside,          // moved aside (or, where it could not be moved, left as it is); defaults written
};

struct SettingsCheck {
    SettingsRepair repair = SettingsRepair::None;
    // The file that holds the original bytes now ("ZuDur.ini.utf8.bak" or "ZuDur.ini.bad").
    Text keptAs;
};

inline constexpr TextView kUtf8BackupSuffix = ".utf8.bak";
inline constexpr TextView kSetAsideSuffix = ".bad";

// How the bytes of a settings file read: as they are (code page 936 or a UTF-16 file with its
// mark), as UTF-8 (a UTF-8 mark, or valid UTF-8 with characters beyond ASCII), or not as
// settings at all (zero bytes, or lines of text none of which starts a section).
enum class SettingsText { Local, Utf8, Unreadable };
[[nodiscard]] SettingsText ClassifySettingsText(BytesView file);

} // namespace tovrik::settings
