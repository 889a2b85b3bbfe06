#include "text/Trim.h"

#include <gtest/gtest.h>

namespace tovrik::text {

TEST(Trim, RemovesSpacesAndWideSpacesButKeepsTabsAndLineBreaks) {
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(Trim("\xA1\xA1 \xA1\xA1x\xA1\xA1"), "x");
    EXPECT_EQ(Trim("\tx\r\n"), "\tx\r\n");
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(Trim("   "), "");
    // A lone 0xA1 is half a character, not padding.
    EXPECT_EQ(Trim("\xA1x"), "\xA1x");
}

} // namespace tovrik::text
