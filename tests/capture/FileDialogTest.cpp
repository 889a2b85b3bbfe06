#include "fakes/FakeFileDialogHost.h"

#include "capture/FileDialog.h"
#include "capture/PathText.h"
#include "files/Files.h"

#include <gtest/gtest.h>

namespace tovrik::capture {
namespace {

using namespace std::string_literals;

TEST(PathText, NormalisesSeparatorsWithoutBreakingDoubleByteCharacters) {
    EXPECT_EQ(NormalisePath("D:/shots//a.jpg", '\\'), "D:\\shots\\a.jpg");
    EXPECT_EQ(NormalisePath("D:\\\\\\x", '\\'), "D:\\\\x") << "each pair becomes one";
    EXPECT_EQ(NormalisePath("/home//me\\a.png", '/'), "/home/me/a.png");
    EXPECT_EQ(NormalisePath("\\\\server\\share//a.png", '\\'), "\\\\server\\share\\a.png") << "network path";
    // 0x815C is one character whose second byte looks like a backslash.
    EXPECT_EQ(NormalisePath("C:/\x81\x5C\\b", '\\'), "C:\\\x81\x5C\\b");
    EXPECT_EQ(NormalisePath("C:/\x81\x5C/b", '/'), "C:/\x81\x5C/b");
}

TEST(PathText, FindsTheExtensionOfTheLastComponent) {
    EXPECT_EQ(PathExtension("D:\\a\\shot.png"), "png");
    EXPECT_EQ(PathExtension("D:\\a.b\\shot"), "");
    EXPECT_EQ(PathExtension("/tmp/x.tar.gz"), "gz");
    EXPECT_EQ(PathExtension("C:\\\x81\x5C"
                            "x"),
              "")
        << "a trail byte is no separator";
    EXPECT_TRUE(EndsWithIgnoringCase("SHOT.PNG", ".png"));
    EXPECT_FALSE(EndsWithIgnoringCase("png", ".png"));
}

TEST(FileDialog, TurnsTheFilterIntoZeroSeparatedPairs) {
    fakes::FakeFileDialogHost host;
    FileDialog dialog(host);
    dialog.Init(7, "PNG图片(*.png)|*.png|全部|*.*", "png", "first", 2, 0x2);
    const FileDialogRequest& request = dialog.Request();
    EXPECT_EQ(request.filter, "PNG图片(*.png)\0*.png\0全部\0*.*\0\0"s);
    EXPECT_EQ(request.flags, 0x881006u);
    EXPECT_EQ(request.owner, 7u);
    EXPECT_EQ(request.initialName, "first");
    EXPECT_EQ(request.filterIndex, 2);
    const auto entries = FilterEntries(request);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].first, "全部");
    EXPECT_EQ(entries[1].second, "*.*");

    dialog.Init(0);
    EXPECT_EQ(dialog.Request().filter, "所有文件(*.*)\0*.*\0\0"s);
    // A double-byte character whose second byte is "|" (0x7C) stays whole.
    dialog.Init(0, "\x81\x7C|*.x");
    EXPECT_EQ(dialog.Request().filter, "\x81\x7C\0*.x\0\0"s);
}

TEST(FileDialog, SaveAndPath) {
    fakes::FakeFileDialogHost host;
    FileDialog dialog(host);
    dialog.Init(0, {}, "png");
    EXPECT_FALSE(dialog.Save()) << "cancelled";
    EXPECT_EQ(dialog.Path(), "");
    EXPECT_EQ(host.requests.back().title, "保存");

    const char sep = files::PathSeparator();
    host.answer = "dir//shot";
    ASSERT_TRUE(dialog.Save("另存为"));
    EXPECT_EQ(host.requests.back().title, "另存为");
    EXPECT_EQ(dialog.Path(), "dir"s + sep + "shot.png");
    host.answer = "dir/shot.jpg";
    ASSERT_TRUE(dialog.Save());
    EXPECT_EQ(dialog.Path(), "dir"s + sep + "shot.jpg");
    host.answer = "";
    EXPECT_FALSE(dialog.Save()) << "an empty name counts as cancelled";
    EXPECT_EQ(dialog.Path(), "");
}

} // namespace
} // namespace tovrik::capture
