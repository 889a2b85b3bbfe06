#include "app/Autostart.h"
#include "app/linux/PosixProcessControl.h"
#include "app/linux/XdgAutostartStore.h"
#include "files/Files.h"
#include "text/Encoding.h"
#include "util/TempDir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

namespace tovrik::app {
namespace {

// Sets an environment variable for the test's duration.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (m_old) {
            ::setenv(m_name, m_old->c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

class XdgAutostartStoreTest : public ::testing::Test {
protected:
    [[nodiscard]] std::string ConfigHome() const { return text::TextToUtf8(m_dir.Path()); }

    testing::TempDir m_dir;
    XdgAutostartStore m_store;
};

TEST_F(XdgAutostartStoreTest, WritesAnEntryThatStartsTheProgramAndRemovesIt) {
    const ScopedEnv config("XDG_CONFIG_HOME", ConfigHome());
    const Text executable = "/opt/托维 OCR/TovrikOcr";
    EXPECT_FALSE(m_store.HasEntry(kAutostartName));
    ASSERT_TRUE(m_store.SetEntry(kAutostartName, executable));
    EXPECT_TRUE(m_store.HasEntry(kAutostartName));

    const Text path = files::JoinPath(files::JoinPath(m_dir.Path(), "autostart"), "TovrikOcr.desktop");
    EXPECT_EQ(XdgAutostartStore::EntryPath(kAutostartName), path);
    const auto written = files::ReadFile(path);
    ASSERT_TRUE(written.has_value());
    // Desktop entries are UTF-8.
    EXPECT_EQ(*written, text::TextToUtf8(DesktopEntryText(executable)));
    EXPECT_NE(written->find(text::TextToUtf8("Exec=\"/opt/托维 OCR/TovrikOcr\"")), std::string::npos);

    EXPECT_TRUE(m_store.RemoveEntry(kAutostartName));
    EXPECT_FALSE(m_store.HasEntry(kAutostartName));
    EXPECT_TRUE(m_store.RemoveEntry(kAutostartName)) << "nothing left to remove";
}

TEST_F(XdgAutostartStoreTest, ARelativeConfigHomeIsIgnored) {
    const ScopedEnv config("XDG_CONFIG_HOME", "relative/config");
    const ScopedEnv home("HOME", ConfigHome());
    EXPECT_EQ(XdgAutostartStore::EntryPath("X"), files::JoinPath(m_dir.Path(), ".config/autostart/X.desktop"));
}

TEST(PosixProcessControlTest, TheRelaunchedProgramStartsOnlyOnceThisOneHasEnded) {
    testing::TempDir dir;
    const Text script = files::JoinPath(dir.Path(), "程序.sh");
    const Text marker = files::JoinPath(dir.Path(), "started");
    ASSERT_TRUE(files::WriteFile(script, "#!/bin/sh\npwd > started\n"));
    ASSERT_EQ(::chmod(text::TextToUtf8(script).c_str(), 0700), 0);

    auto control = std::make_unique<PosixProcessControl>();
    ASSERT_TRUE(control->Relaunch(dir.Path(), script, 1));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(files::FileExists(marker)) << "started while the old copy still runs";

    // What ending the process does to the lifeline.
    control.reset();
    for (int i = 0; i < 100 && !files::FileExists(marker); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    const auto started = files::ReadFile(marker);
    ASSERT_TRUE(started.has_value());
    EXPECT_EQ(*started, text::TextToUtf8(dir.Path()) + "\n") << "runs in the program directory";
}

} // namespace
} // namespace tovrik::app
