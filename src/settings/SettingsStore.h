#pragma once

#include "text/Types.h"

namespace tovrik::settings {

// The settings file "ZuDur.ini" in the program directory, read and written item by item.
// Nothing is cached: every call goes to the file.
class SettingsStore {
public:
    explicit SettingsStore(Text programDirectory);

    [[nodiscard]] Text SettingsPath() const;
    [[nodiscard]] Text ReadItem(TextView section, TextView key) const;
    void WriteItem(TextView section, TextView key, TextView value) const;
    [[nodiscard]] bool ReadFlag(TextView section, TextView key) const;
    void WriteFlag(TextView section, TextView key, bool value) const;
    void WriteDefaults() const;

private:
    Text m_directory;
};

} // namespace tovrik::settings
