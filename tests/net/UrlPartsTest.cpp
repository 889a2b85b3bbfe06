#include "net/UrlParts.h"

#include <gtest/gtest.h>

namespace tovrik::net {

TEST(UrlParts, SchemeLessAddressIsHttpOnPort80) {
    EXPECT_EQ(UrlHost("Example.COM/a/b"), "example.com");
    EXPECT_EQ(UrlPort("example.com/a"), 80);
    EXPECT_EQ(UrlPath("example.com/a/B?x=1"), "/a/B?x=1");
}

TEST(UrlParts, PortBearingAddressSplitsHostPortAndPath) {
    EXPECT_EQ(UrlHost("myhost:8080/api/v1"), "myhost");
    EXPECT_EQ(UrlHost("myhost:8080/api/v1", true), "myhost:8080");
    EXPECT_EQ(UrlPort("myhost:8080/api/v1"), 8080);
    EXPECT_EQ(UrlPath("myhost:8080/api/v1"), "/api/v1");
    EXPECT_EQ(UrlPort("HTTPS://secure.example:8443/x"), 8443);
}

TEST(UrlParts, SchemeDecidesTheDefaultPort) {
    EXPECT_EQ(UrlPort("https://aip.example.com/oauth"), 443);
    EXPECT_EQ(UrlPort("HTTPS://aip.example.com"), 443);
    EXPECT_EQ(UrlPort("http://aip.example.com/"), 80);
}

TEST(UrlParts, HostWithoutPathRequestsRoot) {
    EXPECT_EQ(UrlPath("http://example.com"), "/");
    EXPECT_EQ(UrlPath("example.com:81"), "/");
    EXPECT_EQ(UrlHost("http://example.com"), "example.com");
}

TEST(UrlParts, QueryStaysInThePathAndKeepsItsCase) {
    EXPECT_EQ(UrlPath("http://Host.example/rest/2.0/ocr?access_token=AbC&x=%2F"),
              "/rest/2.0/ocr?access_token=AbC&x=%2F");
    // A query right after the host still belongs to the path, not to the host name.
    EXPECT_EQ(UrlHost("http://example.com?q=1"), "example.com");
    EXPECT_EQ(UrlPath("http://example.com?q=1"), "/?q=1");
}

TEST(UrlParts, AddressInsideTheQueryIsNotTakenForTheHost) {
    EXPECT_EQ(UrlHost("example.com/go?to=http://other.example/x"), "example.com");
    EXPECT_EQ(UrlPath("example.com/go?to=http://other.example/x"), "/go?to=http://other.example/x");
}

TEST(UrlParts, HostNamesThatAppearInTheSchemeAreFoundAfterIt) {
    EXPECT_EQ(UrlHost("http://h/x"), "h");
    EXPECT_EQ(UrlPath("http://h/x"), "/x");
    EXPECT_EQ(UrlPath("https://tps/a"), "/a");
}

TEST(UrlParts, PortThatIsNotANumberIsZero) {
    EXPECT_EQ(UrlPort("example.com:abc/x"), 0);
    EXPECT_EQ(UrlPort("example.com:/x"), 0);
    EXPECT_EQ(UrlPort("example.com:70000/x"), 0);
}

} // namespace tovrik::net
