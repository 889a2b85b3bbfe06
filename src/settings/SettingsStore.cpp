#include "settings/SettingsStore.h"

#include "files/Files.h"
#include "settings/IniFile.h"
#include "text/Encoding.h"

#include <optional>
#include <utility>

namespace tovrik::settings {

namespace {

constexpr TextView kFileName = "ZuDur.ini";
constexpr TextView kTrue = "真";
constexpr TextView kFalse = "假";
constexpr TextView kDefaultText = "[Hotkey]\r\n"
                                  "截图热键=Ctrl+F8\r\n"
                                  "截屏并复制热键=Ctrl+F9\r\n"
                                  "自助翻译热键=Ctrl+F10\r\n"
                                  "截图并翻译热键=Ctrl+F11\r\n"
                                  "\r\n";

// An item is one line of the file: a line break (or a zero byte, where the Windows function
// stops reading) in a name or value would end it early, and what follows could pose as further
// items or sections, for example from a token that a web service sent.
TextView OneLine(TextView text) {
    return text.substr(0, text.find_first_of(TextView("\r\n\0", 3)));
}

} // namespace

SettingsStore::SettingsStore(Text programDirectory) : m_directory(std::move(programDirectory)) {}

Text SettingsStore::SettingsPath() const {
    return files::JoinPath(m_directory, kFileName);
}

Text SettingsStore::ReadItem(TextView section, TextView key) const {
    return ReadIniItem(OneLine(section), OneLine(key), SettingsPath());
}

void SettingsStore::WriteItem(TextView section, TextView key, TextView value) const {
    (void)WriteIniItem(OneLine(section), OneLine(key), OneLine(value), SettingsPath());
}

bool SettingsStore::ReadFlag(TextView section, TextView key) const {
    return ReadItem(section, key) == kTrue;
}

void SettingsStore::WriteFlag(TextView section, TextView key, bool value) const {
    WriteItem(section, key, value ? kTrue : kFalse);
}

void SettingsStore::WriteDefaults() const {
    (void)ReplaceIniFile(SettingsPath(), kDefaultText);
}

SettingsCheck SettingsStore::Repair() const {
    const Text path = SettingsPath();
    if (!files::FileExists(path)) {
        return {};
    }
    const std::optional<Bytes> file = files::ReadFile(path, kMaxIniFileSize);
    const SettingsText kind = file ? ClassifySettingsText(*file) : SettingsText::Unreadable;
    if (kind == SettingsText::Local) {
        return {};
    }
    if (kind == SettingsText::Utf8) {
        const Text backup = path + Text(kUtf8BackupSuffix);
        const BytesView body = BytesView(*file).starts_with("\xEF\xBB\xBF") ? BytesView(*file).substr(3) : *file;
        // Without its copy the original stays as it is: it still reads, only not on every system.
        if (!files::WriteFileAtomic(backup, *file) || !ReplaceIniFile(path, text::Utf8ToText(body))) {
            return {};
        }
        return {SettingsRepair::ConvertedFromUtf8, backup};
    }
    const Text aside = path + Text(kSetAsideSuffix);
    if (!files::RenameFile(path, aside)) {
        return {SettingsRepair::SetAside, path};
    }
    WriteDefaults();
    return {SettingsRepair::SetAside, aside};
}

} // namespace tovrik::settings
