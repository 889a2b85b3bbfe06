// Which translation index the stand-in loads: the command line's, an installed one, the build's.

#include "DictionaryIndex.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace tovrik::standin {
namespace {

namespace fs = std::filesystem;

// A prefix laid out as a package installs it: bin/tovrik-standin, and the index when asked for.
class InstalledPrefix {
public:
    InstalledPrefix() {
        std::string name = (fs::temp_directory_path() / "tovrik-prefix.XXXXXX").string();
        if (mkdtemp(name.data()) == nullptr) {
            ADD_FAILURE() << "mkdtemp failed";
        }
        m_root = name;
        fs::create_directories(m_root / "bin");
    }
    ~InstalledPrefix() {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }
    InstalledPrefix(const InstalledPrefix&) = delete;
    InstalledPrefix& operator=(const InstalledPrefix&) = delete;

    [[nodiscard]] fs::path Executable() const { return m_root / "bin" / "tovrik-standin"; }
    [[nodiscard]] fs::path Index() const { return m_root / "share" / "tovrikocr" / "dictionary.idx"; }
    void InstallIndex() const {
        fs::create_directories(Index().parent_path());
        std::ofstream(Index()) << "index\n";
    }

private:
    fs::path m_root;
};

TEST(DictionaryLocationTest, InstalledIndexIsFoundBesideTheExecutablesPrefix) {
    const InstalledPrefix prefix;
    EXPECT_EQ(InstalledDictionaryPath(prefix.Executable()), prefix.Index());
    EXPECT_EQ(InstalledDictionaryPath("/usr/bin/tovrik-standin"), fs::path("/usr/share/tovrikocr/dictionary.idx"));

    // Without an installed index (a stand-in run from its build folder) the build's is loaded.
    EXPECT_EQ(ChooseDictionaryPath("", prefix.Executable()), DefaultDictionaryPath());
    prefix.InstallIndex();
    EXPECT_EQ(ChooseDictionaryPath("", prefix.Executable()), prefix.Index().string());
}

TEST(DictionaryLocationTest, CommandLineWinsAndUnknownExecutableFallsBackToTheBuild) {
    const InstalledPrefix prefix;
    prefix.InstallIndex();
    EXPECT_EQ(ChooseDictionaryPath("/elsewhere/my.idx", prefix.Executable()), "/elsewhere/my.idx");
    // /proc/self/exe unreadable: the path is empty, and "../share" of nothing must not be taken.
    EXPECT_EQ(ChooseDictionaryPath("", fs::path()), DefaultDictionaryPath());
    // A folder where the index should be is no index.
    const InstalledPrefix folderInstead;
    fs::create_directories(folderInstead.Index());
    EXPECT_EQ(ChooseDictionaryPath("", folderInstead.Executable()), DefaultDictionaryPath());
}

} // namespace
} // namespace tovrik::standin
