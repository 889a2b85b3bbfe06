#include "net/RequestShaping.h"

#include <gtest/gtest.h>

namespace tovrik::net {

TEST(RequestShaping, MethodTableAndClamping) {
    EXPECT_EQ(MethodVerb(0), "GET");
    EXPECT_EQ(MethodVerb(1), "POST");
    EXPECT_EQ(MethodVerb(5), "DELETE");
    EXPECT_EQ(MethodVerb(7), "CONNECT");
    EXPECT_EQ(MethodVerb(8), "GET");
    EXPECT_EQ(MethodVerb(9), "GET");
    EXPECT_EQ(MethodVerb(-1), "GET");
}

TEST(RequestShaping, TwoSetCookieLinesGiveBothCookiesWithoutAttributes) {
    const Text headers = "HTTP/1.1 200 OK\r\n"
                         "Content-Type: text/plain\r\n"
                         "Set-Cookie: BAIDUID=ABC123:FG=1; path=/; domain=.example.com\r\n"
                         "Set-Cookie: lang=zh\r\n"
                         "\r\n";
    EXPECT_EQ(ReceivedCookies(headers), "BAIDUID=ABC123:FG=1; lang=zh");
}

TEST(RequestShaping, OnlyExactlyNamedSetCookieLinesCount) {
    // The name before ": " must be exactly "Set-Cookie".
    EXPECT_EQ(ReceivedCookies("set-cookie: a=1\r\nSet-Cookie:b=2\r\nX-Set-Cookie: c=3\r\nSet-Cookie:  d=4 "), "d=4");
    EXPECT_EQ(ReceivedCookies(""), "");
    EXPECT_EQ(ReceivedCookies("HTTP/1.1 204 No Content\r\n\r\n"), "");
}

TEST(RequestShaping, ReceivedCookiesNeverEndWithTheSeparator) {
    const Text cookies = ReceivedCookies("Set-Cookie: a=1; Path=/\r\nSet-Cookie: b=2; HttpOnly\r\n");
    EXPECT_EQ(cookies, "a=1; b=2");
}

TEST(RequestShaping, CaseInsensitiveSearchHonoursGbkCharacters) {
    EXPECT_TRUE(ContainsNoCase("x: 1\r\naccept: */*", "Accept:"));
    // 0xC1 0x41 is one GBK character whose trail byte looks like 'A'.
    EXPECT_FALSE(ContainsNoCase("\xC1"
                                "Accept:",
                                "Accept:"));
    EXPECT_EQ(RemoveAllNoCase("cookie: a=1; COOKIE:b=2", "Cookie:"), " a=1; b=2");
}

} // namespace tovrik::net
