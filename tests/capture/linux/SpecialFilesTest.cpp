// Files that are no pictures and must not hold the program up: a named pipe nobody writes to,
// an endless device, a folder, and text under a picture's name.
#include "CaptureTestSupport.h"

#include "capture/ImageFile.h"
#include "files/Files.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace tovrik::capture {
namespace {

TEST(ImageFileType, SpecialFilesAreNoPicturesAndNeverBlock) {
    test::TempFolder folder;
    const std::string fifo = folder.File("pipe.png");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Without a writer a blocking open would wait for ever; the test would hang, not fail.
    EXPECT_EQ(ImageFileType(fifo), "");
    EXPECT_EQ(files::ReadFile(fifo), std::nullopt);
    EXPECT_EQ(files::ReadFileHead(fifo, 16), std::nullopt);

    EXPECT_EQ(ImageFileType("/dev/zero"), "");
    EXPECT_EQ(files::ReadFile("/dev/zero", 1024), std::nullopt) << "an endless device is not read";
    EXPECT_EQ(ImageFileType(folder.File("")), "");

    ASSERT_TRUE(files::WriteFile(folder.File("notes.png"), "These are notes, not a picture."));
    EXPECT_EQ(ImageFileType(folder.File("notes.png")), "");
    EXPECT_EQ(files::ReadFileHead(folder.File("notes.png"), 5), "These");
    EXPECT_EQ(files::ReadFileHead(folder.File("notes.png"), 100), "These are notes, not a picture.");
}

} // namespace
} // namespace tovrik::capture
