#pragma once

#include "text/Types.h"

#include <cstddef>

// The platform's profile-file functions, as the settings store needs them. The Windows build
// uses GetPrivateProfileStringA/WritePrivateProfileStringA; the Linux build edits the file
// with IniText and replaces it atomically.
namespace tovrik::settings {

// Longest value read back; the program's own values (hotkeys, keys, tokens) are far shorter.
inline constexpr std::size_t kMaxIniValue = 64u * 1024;
// A settings file is at most a few kilobytes; anything far larger is not one of ours.
inline constexpr std::size_t kMaxIniFileSize = 16u * 1024 * 1024;

// The value of the key, or empty text when the file, the section or the key is missing.
[[nodiscard]] Text ReadIniItem(TextView section, TextView key, TextView path);
// False when the file could not be written; the file is then unchanged.
[[nodiscard]] bool WriteIniItem(TextView section, TextView key, TextView value, TextView path);
// Replaces the whole file by the bytes (atomically: a crash leaves the old or the new file),
// unless the file is marked read-only.
[[nodiscard]] bool ReplaceIniFile(TextView path, BytesView content);

} // namespace tovrik::settings
