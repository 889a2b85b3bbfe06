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

TEST(RemoveFramesTest, ADarkThemesButtonMadeLightLosesItsBorderAroundItsGrayFill) {
    // #4a4a4a inverted is 181: as ink as the border at the light theme's level, it is no frame there.
    const PixPtr gray = White(120, 60);
    Fill(gray.get(), 10, 10, 100, 31, 60);
    Fill(gray.get(), 12, 12, 96, 27, 181);
    Fill(gray.get(), 50, 20, 10, 10, 0);
    RemoveFrames(gray.get(), 30, 14);
    EXPECT_EQ(At(gray.get(), 60, 10), 255);
    EXPECT_EQ(At(gray.get(), 10, 25), 255);
    EXPECT_EQ(At(gray.get(), 55, 25), 0);
}

TEST(RemoveIconsTest, FilledIconsGoWithTheirRimHollowOrSmallShapesStay) {
    const PixPtr gray = White(200, 80);
    Fill(gray.get(), 10, 10, 40, 40, 90);  // an icon: a filled disc's box
    Fill(gray.get(), 25, 18, 10, 20, 255); // its mark, in white
    Fill(gray.get(), 8, 8, 44, 2, 215);    // its light rim, no ink
    Fill(gray.get(), 70, 10, 40, 1, 0);    // a large hollow character ("口" at 40 px)
    Fill(gray.get(), 70, 49, 40, 1, 0);
    Fill(gray.get(), 70, 10, 1, 40, 0);
    Fill(gray.get(), 109, 10, 1, 40, 0);
    Fill(gray.get(), 130, 10, 24, 24, 0); // a filled blob of a text's size
    Fill(gray.get(), 160, 10, 36, 8, 0);  // a rule: too flat for an icon
    RemoveIcons(gray.get(), 32, 45);
    EXPECT_EQ(At(gray.get(), 20, 20), 255);
    EXPECT_EQ(At(gray.get(), 30, 8), 255);
    EXPECT_EQ(At(gray.get(), 70, 30), 0);
    EXPECT_EQ(At(gray.get(), 140, 20), 0);
    EXPECT_EQ(At(gray.get(), 170, 12), 0);
}

TEST(RemoveIconsTest, LightIconsGoByThePagesLevel) {
    // A dialog's page of 245 with a light blue diamond: gray 215 above and 150 below (a level of
    // 200 takes its lower half alone, 40 by 20: too flat for an icon).
    const PixPtr gray = White(200, 80);
    Fill(gray.get(), 0, 0, 200, 80, 245);
    Fill(gray.get(), 10, 10, 40, 20, 215);
    Fill(gray.get(), 10, 30, 40, 20, 150);
    Fill(gray.get(), 25, 18, 10, 20, 255);
    Fill(gray.get(), 80, 10, 40, 40, 235); // a surface only a little darker than the page
    Fill(gray.get(), 90, 20, 20, 8, 0);    // with text on it
    RemoveIcons(gray.get(), 32, 45);
    EXPECT_EQ(At(gray.get(), 20, 12), 255);
    EXPECT_EQ(At(gray.get(), 20, 40), 255);
    EXPECT_EQ(At(gray.get(), 85, 15), 235);
    EXPECT_EQ(At(gray.get(), 100, 24), 0);
}

TEST(NormaliseBandsTest, LightTextOnATitleBarIsMadeDarkOnWhiteDarkTextIsKept) {
    const PixPtr gray = White(300, 240);
    Fill(gray.get(), 0, 0, 300, 240, 238); // a light window
    Fill(gray.get(), 0, 2, 300, 18, 150);  // its title bar
    Fill(gray.get(), 120, 6, 40, 9, 255);  // the title in white
    Fill(gray.get(), 121, 7, 40, 9, 60);   // and its shadow under it, a pixel lower
    Fill(gray.get(), 120, 6, 40, 9, 255);
    Fill(gray.get(), 0, 50, 300, 16, 120); // a header of dark text on a mid gray
    Fill(gray.get(), 20, 54, 50, 8, 10);
    Fill(gray.get(), 0, 80, 300, 30, 40); // a dark panel too high for a band
    Fill(gray.get(), 20, 90, 30, 8, 255);
    Fill(gray.get(), 20, 30, 50, 8, 0); // text on the window
    const std::vector<RowBand> bands = NormaliseBands(gray.get(), 48, 10, 24);
    ASSERT_EQ(bands.size(), 2U);
    EXPECT_EQ(bands[0].top, 2);
    EXPECT_EQ(bands[0].bottom, 20);
    EXPECT_EQ(bands[1].top, 50);
    EXPECT_EQ(bands[1].bottom, 66);
    EXPECT_EQ(At(gray.get(), 60, 10), 255); // the bar is paper
    EXPECT_EQ(At(gray.get(), 130, 10), 0);  // its title ink
    EXPECT_EQ(At(gray.get(), 100, 58), 255);
    EXPECT_LT(At(gray.get(), 30, 58), 30);
    EXPECT_EQ(At(gray.get(), 30, 94), 255); // untouched
    EXPECT_EQ(At(gray.get(), 60, 94), 40);
    EXPECT_EQ(At(gray.get(), 30, 34), 0);
    EXPECT_EQ(At(gray.get(), 100, 34), 238);
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
