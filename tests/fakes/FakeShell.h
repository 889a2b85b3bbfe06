#pragma once

#include "app/Shell.h"
#include "fakes/CallJournal.h"

#include <vector>

namespace tovrik::fakes {

// Records what the program asked the desktop to open.
class FakeShell final : public app::Shell {
public:
    void OpenFolder(TextView folder) override {
        NoteTo(m_journal, "OpenFolder " + Text(folder));
        m_folders.emplace_back(folder);
    }
    void RevealFile(TextView file) override {
        NoteTo(m_journal, "RevealFile " + Text(file));
        m_revealed.emplace_back(file);
    }
    void OpenUrl(TextView url) override {
        NoteTo(m_journal, "OpenUrl " + Text(url));
        m_urls.emplace_back(url);
    }

    void SetJournal(CallJournal* journal) { m_journal = journal; }
    [[nodiscard]] const std::vector<Text>& OpenedFolders() const { return m_folders; }
    [[nodiscard]] const std::vector<Text>& RevealedFiles() const { return m_revealed; }
    [[nodiscard]] const std::vector<Text>& OpenedUrls() const { return m_urls; }

private:
    CallJournal* m_journal = nullptr;
    std::vector<Text> m_folders;
    std::vector<Text> m_revealed;
    std::vector<Text> m_urls;
};

} // namespace tovrik::fakes
