#include "OcrCleanup.h"
#include "OcrImage.h"
#include "OcrText.h"

#include <gtest/gtest.h>
#include <leptonica/allheaders.h>

namespace tovrik::standin {
namespace {

PixPtr White(int width, int height) {
    PixPtr gray(pixCreate(width, height, 8));
    pixSetAll(gray.get());
    return gray;
}

int At(Pix* gray, int x, int y) {
    l_uint32 value = 0;
    pixGetPixel(gray, x, y, &value);
    return static_cast<int>(value);
}

void Fill(Pix* gray, int x, int y, int w, int h, int value) {
    Box* box = boxCreate(x, y, w, h);
    pixSetInRectArbitrary(gray, box, static_cast<l_uint32>(value));
    boxDestroy(&box);
}

TEST(RemoveFramesTest, ARectangleGoesAndTheTextInsideStays) {
    const PixPtr gray = White(120, 60);
    Fill(gray.get(), 10, 10, 100, 1, 0);
    Fill(gray.get(), 10, 40, 100, 1, 0);
    Fill(gray.get(), 10, 10, 1, 31, 0);
    Fill(gray.get(), 109, 10, 1, 31, 0);
    Fill(gray.get(), 50, 20, 10, 10, 0); // text inside the button
    RemoveFrames(gray.get(), 30, 14);
    EXPECT_EQ(At(gray.get(), 60, 10), 255);
    EXPECT_EQ(At(gray.get(), 10, 25), 255);
    EXPECT_EQ(At(gray.get(), 55, 25), 0);
    // A small ring (a character such as "口") is no frame.
    const PixPtr small = White(40, 40);
    Fill(small.get(), 5, 5, 12, 1, 0);
    Fill(small.get(), 5, 16, 12, 1, 0);
    Fill(small.get(), 5, 5, 1, 12, 0);
    Fill(small.get(), 16, 5, 1, 12, 0);
    RemoveFrames(small.get(), 30, 14);
    EXPECT_EQ(At(small.get(), 10, 5), 0);
}

TEST(CleanLineTest, LatinMarksBesideChineseTakeTheirFullWidthForms) {
    EXPECT_EQ(CleanLine("例如: 10K 指"), "例如：10K 指");
    EXPECT_EQ(CleanLine("列出指定\"文件\" ( 默认为当前目录 ) 的信息"), "列出指定“文件”（默认为当前目录）的信息");
    EXPECT_EQ(CleanLine("目录, 该"), "目录，该");
    // Latin text keeps its marks, also on a line with Chinese.
    EXPECT_EQ(CleanLine("a (b): c, d 中文"), "a (b): c, d 中文");
    EXPECT_EQ(CleanLine("Time: 10 (UTC)"), "Time: 10 (UTC)");
}

} // namespace
} // namespace tovrik::standin
