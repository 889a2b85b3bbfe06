#include "json/OverlongExponent.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tovrik::json {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

TEST(OverlongExponentTest, DecimalLiteralsGiveInfinityOrZeroWithTheirSign) {
    EXPECT_EQ(NumberOfOverlongExponent("1e99999999"), kInfinity);
    EXPECT_EQ(NumberOfOverlongExponent("+.5E+99999999"), kInfinity);
    EXPECT_EQ(NumberOfOverlongExponent("-3.e99999999"), -kInfinity);
    EXPECT_EQ(NumberOfOverlongExponent(" \t12e99999999\r\n"), kInfinity);
    EXPECT_EQ(NumberOfOverlongExponent("0.000e99999999"), 0);
    EXPECT_EQ(NumberOfOverlongExponent("5e-99999999"), 0);
    EXPECT_TRUE(std::signbit(NumberOfOverlongExponent("-5e-99999999")));
}

TEST(OverlongExponentTest, AnythingElseIsNotANumber) {
    for (const char* text : {"24.3e123456789a0f.2592000", "1e99999999x", "e99999999", ".e99999999", "1e", "1e+",
                             "1.2.3e99999999", "--1e99999999", "0x1e99999999", "", " "}) {
        EXPECT_TRUE(std::isnan(NumberOfOverlongExponent(text))) << text;
    }
}

} // namespace
} // namespace tovrik::json
