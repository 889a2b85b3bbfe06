#pragma once

#include "settings/SettingsRepair.h"
#include "text/Types.h"

namespace tovrik::settings {

// The settings file "ZuDur.ini" in the program directory, read and written item by item.
// Nothing is cached: every call goes to the file.
//
// Damaged files never stop the program: a missing, empty or unreadable file (or one over
// 16 MB, on Linux) reads as all-empty items; binary bytes are carried along; of duplicate
// sections or keys the first one counts; a UTF-8 byte-order mark makes the file UTF-8; values
// longer than 64 KiB read cut to that length. A failed write (missing folder, file marked
// read-only) is silent and leaves the file as it was. Names and values are one line: they end
// at the first line break or zero byte, so no value can add items or sections.
class SettingsStore {
public:
    explicit SettingsStore(Text programDirectory);

    [[nodiscard]] Text SettingsPath() const;
    [[nodiscard]] Text ReadItem(TextView section, TextView key) const;
    void WriteItem(TextView section, TextView key, TextView value) const;
    [[nodiscard]] bool ReadFlag(TextView section, TextView key) const;
    void WriteFlag(TextView section, TextView key, bool value) const;
    void WriteDefaults() const;
    // The start-up check: a UTF-8 file is rewritten in code page 936 (the original kept as
    // "ZuDur.ini.utf8.bak"); a file that cannot be read as settings is renamed "ZuDur.ini.bad"
    // and the defaults written. Runs before anything reads the file; each repair happens once,
    // as the file is sound afterwards.
    [[nodiscard]] SettingsCheck Repair() const;

private:
    Text m_directory;
};

} // namespace tovrik::settings
