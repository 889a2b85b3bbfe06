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

TEST(InvertDarkAreasTest, LightTextOnADarkBarBecomesDarkOnWhiteAndTheRestStays) {
    const PixPtr gray = White(200, 80);
    Fill(gray.get(), 0, 0, 200, 24, 60); // a dark title bar
    Fill(gray.get(), 40, 8, 3, 8, 250);  // a light stroke in it
    Fill(gray.get(), 40, 50, 3, 8, 10);  // a dark stroke below, on white
    InvertDarkAreas(gray.get());
    EXPECT_GT(At(gray.get(), 100, 4), 240); // the bar's background is white now
    EXPECT_LT(At(gray.get(), 41, 12), 40);  // its text dark
    EXPECT_LT(At(gray.get(), 41, 54), 40);  // the text on white is left as it was
    EXPECT_GT(At(gray.get(), 100, 60), 240);
}

TEST(InvertDarkAreasTest, ADarkSpotSmallerThanTwoBlocksIsNoArea) {
    const PixPtr gray = White(64, 64);
    Fill(gray.get(), 24, 24, 8, 8, 0); // the solid inside of a bold character
    InvertDarkAreas(gray.get());
    EXPECT_LT(At(gray.get(), 27, 27), 40);
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

TEST(RemoveRulesTest, LongRunsGoShortStrokesStay) {
    const PixPtr gray = White(200, 100);
    Fill(gray.get(), 0, 50, 200, 2, 0);  // a separator
    Fill(gray.get(), 150, 0, 1, 100, 0); // a column rule
    Fill(gray.get(), 20, 10, 30, 3, 0);  // "一" of large text
    Fill(gray.get(), 60, 10, 2, 30, 0);  // a tall stroke
    RemoveRules(gray.get(), 40);
    EXPECT_EQ(At(gray.get(), 100, 50), 255);
    EXPECT_EQ(At(gray.get(), 150, 20), 255);
    EXPECT_EQ(At(gray.get(), 30, 11), 0);
    EXPECT_EQ(At(gray.get(), 60, 20), 0);
}

TEST(RemoveSolidBlobsTest, IconsGoCharactersStay) {
    const PixPtr gray = White(100, 60);
    Fill(gray.get(), 5, 5, 32, 32, 30); // an icon
    Fill(gray.get(), 60, 5, 30, 3, 0);  // strokes of a character,
    Fill(gray.get(), 60, 5, 3, 30, 0);  // as large but open
    RemoveSolidBlobs(gray.get(), 24);
    EXPECT_EQ(At(gray.get(), 20, 20), 255);
    EXPECT_EQ(At(gray.get(), 61, 20), 0);
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
