#include "text/Encoding.h"

#include <gtest/gtest.h>

namespace tovrik::text {

TEST(UrlEncode, KeepUnreservedDecidesWhetherLettersAndDigitsAreEscaped) {
    EXPECT_EQ(UrlEncode("a b", true), "a+b");
    EXPECT_EQ(UrlEncode("a b"), "%61+%62");
    EXPECT_EQ(UrlEncode("Az09"), "%41%7A%30%39");
    EXPECT_EQ(UrlEncode(""), "");
    EXPECT_EQ(UrlEncode("", true, true), "");
}

TEST(UrlEncode, KeepsOnlyTheUnreservedSetAndEscapesInUppercase) {
    EXPECT_EQ(UrlEncode("'()*-._", true), "'()*-._");
    EXPECT_EQ(UrlEncode("!~", true), "%21%7E");
    EXPECT_EQ(UrlEncode("+/=&%", true), "%2B%2F%3D%26%25");
    EXPECT_EQ(UrlEncode("\t\r\n\x7F", true), "%09%0D%0A%7F");
    // A zero byte is dropped.
    EXPECT_EQ(UrlEncode(TextView("a\0b", 3), true), "ab");
}

TEST(UrlEncode, ChineseAsGbkOrUtf8Bytes) {
    EXPECT_EQ(UrlEncode("中", true), "%D6%D0");
    EXPECT_EQ(UrlEncode("中", true, true), "%E4%B8%AD");
    EXPECT_EQ(UrlEncode("中 a", false, true), "%E4%B8%AD+%61");
}

TEST(Base64Encode, PadsTheLastGroup) {
    // RFC 4648 test vectors.
    EXPECT_EQ(Base64Encode(""), "");
    EXPECT_EQ(Base64Encode("f"), "Zg==");
    EXPECT_EQ(Base64Encode("fo"), "Zm8=");
    EXPECT_EQ(Base64Encode("foo"), "Zm9v");
    EXPECT_EQ(Base64Encode("foob"), "Zm9vYg==");
    EXPECT_EQ(Base64Encode("fooba"), "Zm9vYmE=");
    EXPECT_EQ(Base64Encode("foobar"), "Zm9vYmFy");
}

TEST(Base64Encode, UsesTheWholeAlphabetAndKeepsZeroBytes) {
    EXPECT_EQ(Base64Encode(Bytes("\0\0\0", 3)), "AAAA");
    EXPECT_EQ(Base64Encode(Bytes("\0", 1)), "AA==");
    EXPECT_EQ(Base64Encode("\xFB\xFF\xBF"), "+/+/");
    EXPECT_EQ(Base64Encode("\xFF\xFF\xFF\xFF"), "/////w==");
    Bytes everyByte;
    for (int byte = 0; byte < 256; ++byte) {
        everyByte.push_back(static_cast<char>(byte));
    }
    const Text encoded = Base64Encode(everyByte);
    EXPECT_EQ(encoded.size(), 344u);
    EXPECT_EQ(encoded.substr(0, 12), "AAECAwQFBgcI");
    EXPECT_EQ(encoded.substr(332), "+fr7/P3+/w==");
}

TEST(Md5Hex, KnownDigestsInEveryForm) {
    // RFC 1321 test suite.
    EXPECT_EQ(Md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Md5Hex("", true), "D41D8CD98F00B204E9800998ECF8427E");
    EXPECT_EQ(Md5Hex("", false, true), "8f00b204e9800998");
    EXPECT_EQ(Md5Hex("", true, true), "8F00B204E9800998");
    EXPECT_EQ(Md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(Md5Hex("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(Md5Hex("12345678901234567890123456789012345678901234567890123456789012345678901234567890"),
              "57edf4a22be3c955ac49da2e2107b67a");
    EXPECT_EQ(Md5Hex(Bytes("\0", 1)), "93b885adfe0da089cdf634904fd59f71");
}

} // namespace tovrik::text
