#include "app/Autostart.h"

#include "fakes/FakeAutostartStore.h"
#include "files/Files.h"

#include <gtest/gtest.h>

namespace tovrik::app {
namespace {

TEST(AutostartTest, TheEntryNamesTheRunningExecutable) {
    fakes::FakeAutostartStore store;
    EXPECT_FALSE(AutostartEnabled(store));

    SetAutostart(store, true);
    ASSERT_TRUE(AutostartEnabled(store));
    ASSERT_EQ(store.Entries().size(), 1u);
    EXPECT_EQ(store.Entries().begin()->first, "TovrikOcr");
    EXPECT_EQ(store.Entries().begin()->second, files::ExecutablePath());
    EXPECT_TRUE(files::FileExists(store.Entries().begin()->second));

    SetAutostart(store, false);
    EXPECT_FALSE(AutostartEnabled(store));
    EXPECT_TRUE(store.Entries().empty());
}

TEST(AutostartTest, ARefusedWriteLeavesNothingBehind) {
    fakes::FakeAutostartStore store;
    store.RefuseWrites();
    SetAutostart(store, true);
    EXPECT_FALSE(AutostartEnabled(store));
}

TEST(AutostartTest, TheExecutablePathIsTheProcessesOwn) {
    EXPECT_EQ(ExecutablePath(), files::ExecutablePath());
    EXPECT_NE(ExecutablePath(), "-");
}

TEST(AutostartTest, TheDesktopEntryQuotesThePath) {
    EXPECT_EQ(DesktopEntryText("/opt/tovrik/TovrikOcr"), "[Desktop Entry]\n"
                                                         "Type=Application\n"
                                                         "Name=TovrikOcr\n"
                                                         "Exec=\"/opt/tovrik/TovrikOcr\"\n"
                                                         "Terminal=false\n"
                                                         "X-GNOME-Autostart-enabled=true\n");
    const Text text = DesktopEntryText("/home/a b/100%/\"q\"/$x`y`/back\\slash/截图");
    EXPECT_NE(text.find("Exec=\"/home/a b/100%%/\\\\\"q\\\\\"/\\\\$x\\\\`y\\\\`/back\\\\\\\\slash/截图\"\n"),
              Text::npos)
        << text;
}

} // namespace
} // namespace tovrik::app
