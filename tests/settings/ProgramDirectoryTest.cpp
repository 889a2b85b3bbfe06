// Where the settings go when the executable's folder takes none (a system-wide installation,
// a read-only share): the user's data folder, and the caller is told which folder refused.
#include "settings/ProgramDirectory.h"

#include "files/Files.h"
#include "util/TempDir.h"

#include <gtest/gtest.h>

namespace tovrik::settings {
namespace {

TEST(ChooseDirectory, AWritableExecutableFolderStays) {
    const testing::TempDir folder;
    bool asked = false;
    const ProgramDirectoryChoice choice = ChooseDirectory(folder.Path(), [&asked] {
        asked = true;
        return Text("unused");
    });
    EXPECT_EQ(choice.directory, folder.Path());
    EXPECT_TRUE(choice.unwritable.empty());
    EXPECT_FALSE(asked) << "the fallback is not even made";
}

TEST(ChooseDirectory, AnUnwritableOneGivesWayToTheUserFolderAndIsNamed) {
    const testing::TempDir folder;
    // No file can be made in a folder that does not exist, whoever runs the test.
    const Text unwritable = files::JoinPath(folder.Path(), "missing");
    const Text user = files::JoinPath(files::JoinPath(folder.Path(), "AppData"), "TovrikOcr");
    const ProgramDirectoryChoice choice = ChooseDirectory(unwritable, [&user] { return user; });
    EXPECT_EQ(choice.directory, user);
    EXPECT_EQ(choice.unwritable, unwritable);
    EXPECT_TRUE(files::IsWritableDirectory(user)) << "created";

    const ProgramDirectoryChoice none = ChooseDirectory(unwritable, [] { return Text(); });
    EXPECT_EQ(none.directory, unwritable) << "no user folder known: nowhere else to go";
    EXPECT_TRUE(none.unwritable.empty());
}

TEST(IsInstalledBinFolder, OnlyABinFolderBesideShareIsAnInstallation) {
    const testing::TempDir prefix;
    const Text bin = files::JoinPath(prefix.Path(), "bin");
    ASSERT_TRUE(files::CreateDirectories(bin));
    EXPECT_FALSE(IsInstalledBinFolder(bin)) << "no share/ beside it: a folder the user called bin";
    ASSERT_TRUE(files::CreateDirectories(files::JoinPath(prefix.Path(), "share")));
    EXPECT_TRUE(IsInstalledBinFolder(bin)) << "writable or not: the test may run as root";
    EXPECT_TRUE(IsInstalledBinFolder(bin + files::PathSeparator()));

    // The program's own folders elsewhere (a build folder, a copy beside its settings) stay.
    EXPECT_FALSE(IsInstalledBinFolder(prefix.Path()));
    EXPECT_FALSE(IsInstalledBinFolder(files::JoinPath(prefix.Path(), "share")));
    const Text sbin = files::JoinPath(prefix.Path(), "xbin");
    ASSERT_TRUE(files::CreateDirectories(sbin));
    EXPECT_FALSE(IsInstalledBinFolder(sbin));
    EXPECT_FALSE(IsInstalledBinFolder(""));
}

} // namespace
} // namespace tovrik::settings
