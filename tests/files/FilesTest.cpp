#include "files/Files.h"
#include "files/PathText.h"
#include "text/Encoding.h"

#include "util/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace tovrik::files {

namespace {

const Text kSep(1, PathSeparator());

// Names in the folder as the file system spells them (UTF-8 through std::filesystem).
std::vector<Bytes> ListNames(TextView directory) {
    const Bytes utf8 = text::TextToUtf8(directory);
    std::vector<Bytes> names;
    for (const auto& entry : std::filesystem::directory_iterator(std::u8string(utf8.begin(), utf8.end()))) {
        const std::u8string name = entry.path().filename().u8string();
        names.emplace_back(name.begin(), name.end());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(PathText, JoinPathAddsOneSeparator) {
    EXPECT_EQ(JoinPath("a", "b.txt"), "a" + kSep + "b.txt");
    EXPECT_EQ(JoinPath("a" + kSep, "b.txt"), "a" + kSep + "b.txt");
    EXPECT_EQ(JoinPath("a/", "b"), "a/b");
    EXPECT_EQ(JoinPath("", "b"), "b");
    EXPECT_EQ(JoinPath("截图", "图片.png"), "截图" + kSep + "图片.png");
    // 0x95 0x5C is one character: its trail byte is no separator.
    EXPECT_EQ(JoinPath("x\x95\\", "f"), "x\x95\\" + kSep + "f");
}

TEST(PathText, ParentDirectoryKeepsRoots) {
    EXPECT_EQ(ParentDirectory(kSep + "a" + kSep + "b"), kSep + "a");
    EXPECT_EQ(ParentDirectory(kSep + "a"), kSep);
    EXPECT_EQ(ParentDirectory("name"), "");
    EXPECT_EQ(ParentDirectory("x\x95\\" + kSep + "f"), "x\x95\\");
    EXPECT_EQ(ParentDirectory("目录/文件"), "目录");
}

TEST(Files, ChineseNamesRoundTripWithZeroBytes) {
    const testing::TempDir temp;
    const Text folder = JoinPath(temp.Path(), "截图");
    ASSERT_TRUE(CreateDirectories(folder));
    const Text file = JoinPath(folder, "结果 1.txt");
    const Bytes data("\x00\xFF中文\r\n\x00", 10);
    ASSERT_TRUE(WriteFile(file, data));
    EXPECT_EQ(ReadFile(file), data);
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(DirectoryExists(file));
    EXPECT_TRUE(DirectoryExists(folder));
    EXPECT_FALSE(FileExists(folder));
    // On disk the names are real Unicode names, not GBK bytes.
    EXPECT_EQ(ListNames(temp.Path()), std::vector<Bytes>{text::TextToUtf8("截图")});
    EXPECT_EQ(ListNames(folder), std::vector<Bytes>{text::TextToUtf8("结果 1.txt")});
}

TEST(Files, ReadFileFailsForMissingFoldersAndOversizedFiles) {
    const testing::TempDir temp;
    const Text file = JoinPath(temp.Path(), "ten.bin");
    ASSERT_TRUE(WriteFile(file, "0123456789"));
    EXPECT_EQ(ReadFile(file, 10), "0123456789");
    EXPECT_EQ(ReadFile(file, 9), std::nullopt);
    EXPECT_EQ(ReadFile(JoinPath(temp.Path(), "missing")), std::nullopt);
    EXPECT_EQ(ReadFile(temp.Path()), std::nullopt);
    const Text empty = JoinPath(temp.Path(), "空.txt");
    ASSERT_TRUE(WriteFile(empty, ""));
    EXPECT_EQ(ReadFile(empty), "");
}

TEST(Files, ReadFileHeadReadsNoMoreThanAsked) {
    const testing::TempDir temp;
    const Text file = JoinPath(temp.Path(), "ten.bin");
    ASSERT_TRUE(WriteFile(file, "0123456789"));
    EXPECT_EQ(ReadFileHead(file, 4), "0123");
    EXPECT_EQ(ReadFileHead(file, 16), "0123456789") << "a shorter file gives what it has";
    EXPECT_EQ(ReadFileHead(file, 0), "");
    EXPECT_EQ(ReadFileHead(JoinPath(temp.Path(), "missing"), 4), std::nullopt);
    EXPECT_EQ(ReadFileHead(temp.Path(), 4), std::nullopt) << "a folder";
}

TEST(Files, RenameFileReplacesTheTarget) {
    const testing::TempDir temp;
    const Text from = JoinPath(temp.Path(), "设置.ini");
    const Text to = JoinPath(temp.Path(), "设置.ini.bad");
    ASSERT_TRUE(WriteFile(from, "new"));
    ASSERT_TRUE(WriteFile(to, "old"));
    ASSERT_TRUE(RenameFile(from, to));
    EXPECT_FALSE(FileExists(from));
    EXPECT_EQ(ReadFile(to), "new");
    EXPECT_FALSE(RenameFile(from, to)) << "nothing left to rename";
}

TEST(Files, WriteFileReplacesTheWholeFile) {
    const testing::TempDir temp;
    const Text file = JoinPath(temp.Path(), "设置.ini");
    ASSERT_TRUE(WriteFile(file, "a much longer first content"));
    ASSERT_TRUE(WriteFile(file, "short"));
    EXPECT_EQ(ReadFile(file), "short");
    EXPECT_FALSE(WriteFile(JoinPath(JoinPath(temp.Path(), "no such folder"), "x"), "data"));
}

TEST(Files, WriteFileAtomicReplacesAndLeavesNoTemporaryFile) {
    const testing::TempDir temp;
    const Text file = JoinPath(temp.Path(), "ZuDur.ini");
    ASSERT_TRUE(WriteFileAtomic(file, "first"));
    ASSERT_TRUE(WriteFileAtomic(file, Bytes("sec\0nd", 6)));
    EXPECT_EQ(ReadFile(file), Bytes("sec\0nd", 6));
    EXPECT_EQ(ListNames(temp.Path()), std::vector<Bytes>{"ZuDur.ini"});
    // A target folder that doesn't exist fails cleanly.
    EXPECT_FALSE(WriteFileAtomic(JoinPath(JoinPath(temp.Path(), "gone"), "x.ini"), "data"));
    EXPECT_EQ(ListNames(temp.Path()), std::vector<Bytes>{"ZuDur.ini"});
}

TEST(Files, WriteFileAtomicOverAFolderFailsAndCleansUp) {
    const testing::TempDir temp;
    const Text folder = JoinPath(temp.Path(), "目录");
    ASSERT_TRUE(CreateDirectories(folder));
    ASSERT_TRUE(WriteFile(JoinPath(folder, "inside"), "x"));
    EXPECT_FALSE(WriteFileAtomic(folder, "data"));
    EXPECT_EQ(ListNames(temp.Path()), std::vector<Bytes>{text::TextToUtf8("目录")});
    EXPECT_EQ(ReadFile(JoinPath(folder, "inside")), "x");
}

TEST(Files, RemoveFileSaysWhetherItRemovedSomething) {
    const testing::TempDir temp;
    const Text file = JoinPath(temp.Path(), "tts.mp3");
    ASSERT_TRUE(WriteFile(file, "ID3"));
    EXPECT_TRUE(RemoveFile(file));
    EXPECT_FALSE(FileExists(file));
    EXPECT_FALSE(RemoveFile(file));
}

TEST(Files, CreateDirectoriesMakesEveryMissingLevel) {
    const testing::TempDir temp;
    const Text deep = JoinPath(JoinPath(JoinPath(temp.Path(), "一"), "二"), "三");
    EXPECT_TRUE(CreateDirectories(deep));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_TRUE(CreateDirectories(deep));
    EXPECT_TRUE(CreateDirectories(deep + kSep));
    EXPECT_FALSE(CreateDirectories(""));
    // A file in the way can't become a folder.
    const Text file = JoinPath(temp.Path(), "file");
    ASSERT_TRUE(WriteFile(file, "x"));
    EXPECT_FALSE(CreateDirectories(JoinPath(file, "sub")));
    EXPECT_FALSE(CreateDirectories(file));
}

TEST(Files, IsWritableDirectoryTriesAndCleansUp) {
    const testing::TempDir temp;
    EXPECT_TRUE(IsWritableDirectory(temp.Path()));
    EXPECT_TRUE(ListNames(temp.Path()).empty());
    EXPECT_FALSE(IsWritableDirectory(JoinPath(temp.Path(), "missing")));
    const Text file = JoinPath(temp.Path(), "file");
    ASSERT_TRUE(WriteFile(file, "x"));
    EXPECT_FALSE(IsWritableDirectory(file));
}

TEST(Files, ExecutableLocation) {
    const Text path = ExecutablePath();
    const Text directory = ExecutableDirectory();
    EXPECT_TRUE(FileExists(path)) << path;
    EXPECT_TRUE(DirectoryExists(directory)) << directory;
    EXPECT_EQ(directory, ParentDirectory(path));
    EXPECT_FALSE(directory.ends_with(kSep));
    EXPECT_TRUE(path.starts_with(directory + kSep));
    EXPECT_TRUE(path.find("files_tests") != Text::npos) << path;
}

TEST(TempDir, RemovesItsTreeWhenDone) {
    Text path;
    {
        const testing::TempDir temp;
        path = temp.Path();
        ASSERT_TRUE(CreateDirectories(JoinPath(JoinPath(path, "子"), "孙")));
        ASSERT_TRUE(WriteFile(JoinPath(JoinPath(path, "子"), "f.txt"), "x"));
        EXPECT_TRUE(IsWritableDirectory(path));
    }
    EXPECT_FALSE(DirectoryExists(path));
}

} // namespace tovrik::files
