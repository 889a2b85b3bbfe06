#include "net/ComWebRequest.h"

#include "net/HttpTransport.h"
#include "util/FakeHttpTransport.h"

#include <gtest/gtest.h>

// ComWebRequest's shaping, checked on the request handed to the transport (the request object).
namespace tovrik::net {

namespace {

using testutil::FakeHttpTransport;

constexpr TextView kUrl = "https://aip.example.com/rest/2.0/ocr/v1/general?access_token=T";
constexpr TextView kReferer = "Referer: https://aip.example.com/rest/2.0/ocr/v1/general?access_token=T";
constexpr TextView kAgent = "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

Text Lines(std::initializer_list<TextView> lines) {
    Text block;
    for (const TextView line : lines) {
        block += block.empty() ? "" : "\r\n";
        block += line;
    }
    return block;
}

} // namespace

TEST(ComWebRequest, PostWithDefaultsSetsTheFiveStandardHeadersInOrder) {
    FakeHttpTransport transport;
    static_cast<void>(ComWebRequest(kUrl, {.method = 1, .postText = "image=abc", .requestObject = &transport}));
    const HttpRequest& sent = transport.LastRequest();
    EXPECT_EQ(sent.verb, "POST");
    EXPECT_EQ(sent.url, kUrl);
    EXPECT_EQ(sent.headerBlock, Lines({"Accept: */*", kReferer, "Accept-Language: zh-cn", kAgent,
                                       "Content-Type: application/x-www-form-urlencoded"}));
    EXPECT_EQ(sent.body, "image=abc");
    EXPECT_EQ(sent.userAgent, "");
}

TEST(ComWebRequest, GetHasNoContentTypeAndSendsPostTextAnyway) {
    FakeHttpTransport transport;
    static_cast<void>(ComWebRequest(kUrl, {.method = 8, .postText = "q=1", .requestObject = &transport}));
    const HttpRequest& sent = transport.LastRequest();
    EXPECT_EQ(sent.verb, "GET");
    EXPECT_EQ(sent.headerBlock, Lines({"Accept: */*", kReferer, "Accept-Language: zh-cn", kAgent}));
    EXPECT_EQ(sent.body, "q=1");
}

TEST(ComWebRequest, CompletionComesBeforeNormalisation) {
    FakeHttpTransport transport;
    static_cast<void>(ComWebRequest(kUrl, {.method = 1,
                                           .extraHeaders = "user-agent: Bot/2\r\ncontent-type: application/json",
                                           .requestObject = &transport}));
    EXPECT_EQ(transport.LastRequest().headerBlock, Lines({"User-Agent: Bot/2", "Content-Type: application/json",
                                                          "Accept: */*", kReferer, "Accept-Language: zh-cn"}));
}

TEST(ComWebRequest, KeepAliveIsNotSentButCloseIs) {
    FakeHttpTransport transport;
    static_cast<void>(ComWebRequest(
        kUrl,
        {.extraHeaders = "connection: keep-alive\r\nX-A: 1", .requestObject = &transport, .completeHeaders = false}));
    EXPECT_EQ(transport.LastRequest().headerBlock, "X-A: 1");
    static_cast<void>(ComWebRequest(
        kUrl, {.extraHeaders = "Connection: close\r\nX-A: 1", .requestObject = &transport, .completeHeaders = false}));
    EXPECT_EQ(transport.LastRequest().headerBlock, "Connection: close\r\nX-A: 1");
}

TEST(ComWebRequest, SingleLineBlockAndRawLinesWithoutNormalisation) {
    FakeHttpTransport transport;
    static_cast<void>(ComWebRequest(kUrl, {.extraHeaders = "x-single:  v ",
                                           .requestObject = &transport,
                                           .completeHeaders = false,
                                           .normalizeHeaderNames = false}));
    EXPECT_EQ(transport.LastRequest().headerBlock, "x-single: v");
    // Without normalisation a line without a colon would be a nameless header; it is left out.
    static_cast<void>(
        ComWebRequest(kUrl, {.extraHeaders = "junk", .requestObject = &transport, .normalizeHeaderNames = false}));
    EXPECT_EQ(transport.LastRequest().headerBlock, Lines({"Accept: */*", kReferer, "Accept-Language: zh-cn", kAgent}));
}

TEST(ComWebRequest, TimeoutValues) {
    FakeHttpTransport transport;
    const auto timeoutFor = [&transport](int seconds) {
        static_cast<void>(ComWebRequest(kUrl, {.timeoutSeconds = seconds, .requestObject = &transport}));
        return transport.LastRequest().timeoutMs;
    };
    EXPECT_EQ(timeoutFor(0), 15000);
    EXPECT_EQ(timeoutFor(-5), 15000);
    EXPECT_EQ(timeoutFor(30), 30000);
    EXPECT_EQ(timeoutFor(-1), std::nullopt);
    static_cast<void>(ComWebRequest(kUrl, {.requestObject = &transport}));
    EXPECT_EQ(transport.LastRequest().timeoutMs, 15000);
}

// Four phases of 30 s would allow two minutes: the deadline of the whole exchange stays 60 s.
TEST(ComWebRequest, TheWholeExchangeEndsWithinSixtySecondsWhateverThePhasesAllow) {
    FakeHttpTransport transport;
    for (const int seconds : {-1, 0, 30, 3600}) {
        static_cast<void>(ComWebRequest(kUrl, {.timeoutSeconds = seconds, .requestObject = &transport}));
        EXPECT_EQ(transport.LastRequest().deadlineMs, 60000) << seconds;
    }
    static_cast<void>(ComWebRequest(kUrl, {.requestObject = &transport, .deadlineMs = 1500}));
    EXPECT_EQ(transport.LastRequest().deadlineMs, 1500);
    static_cast<void>(ComWebRequest(kUrl, {.requestObject = &transport, .deadlineMs = 90000}));
    EXPECT_EQ(transport.LastRequest().deadlineMs, 60000);
}

TEST(ComWebRequest, PostBytesWinOverPostText) {
    FakeHttpTransport transport;
    const Bytes bytes("\x00\xFF", 2);
    static_cast<void>(
        ComWebRequest(kUrl, {.method = 1, .postText = "text", .postBytes = bytes, .requestObject = &transport}));
    EXPECT_EQ(transport.LastRequest().body, bytes);
}

TEST(ComWebRequest, CookieHeaderNameInSendCookiesIsRemovedAlsoFromTheCallersVariable) {
    FakeHttpTransport transport;
    Text cookies = "cookie: a=1; COOKIE:b=2";
    static_cast<void>(ComWebRequest(
        kUrl,
        {.sendCookiesInOut = &cookies, .requestObject = &transport, .mergeCookies = false, .completeHeaders = false}));
    EXPECT_EQ(transport.LastRequest().headerBlock, "Cookie: a=1; b=2");
    EXPECT_EQ(cookies, " a=1; b=2");
    EXPECT_TRUE(transport.LastRequest().useCookieStore);
}

TEST(ComWebRequest, EmptyCookiesGivenStillSetTheCookieHeader) {
    FakeHttpTransport transport;
    Text cookies;
    static_cast<void>(
        ComWebRequest(kUrl, {.sendCookiesInOut = &cookies, .requestObject = &transport, .completeHeaders = false}));
    EXPECT_EQ(transport.LastRequest().headerBlock, "Cookie: ");
}

TEST(ComWebRequest, ProxyCredentialsAlsoGoOutAsBasicProxyAuthorization) {
    FakeHttpTransport transport;
    static_cast<void>(ComWebRequest(kUrl, {.proxy = "proxy.local:3128",
                                           .proxyUser = "user",
                                           .proxyPassword = "pa:ss",
                                           .requestObject = &transport,
                                           .completeHeaders = false}));
    const HttpRequest& sent = transport.LastRequest();
    EXPECT_EQ(sent.proxy, "proxy.local:3128");
    EXPECT_EQ(sent.proxyUser, "user");
    EXPECT_EQ(sent.proxyPassword, "pa:ss");
    EXPECT_EQ(sent.credentialsTarget, 1);
    EXPECT_EQ(sent.headerBlock, "Proxy-Authorization: Basic dXNlcjpwYTpzcw==");
}

TEST(ComWebRequest, ServerCredentialsOrNoProxyAddNoProxyAuthorization) {
    FakeHttpTransport transport;
    static_cast<void>(ComWebRequest(kUrl, {.proxy = "proxy.local:3128",
                                           .proxyUser = "user",
                                           .credentialsTarget = 0,
                                           .requestObject = &transport,
                                           .completeHeaders = false}));
    EXPECT_EQ(transport.LastRequest().headerBlock, "");
    EXPECT_EQ(transport.LastRequest().credentialsTarget, 0);
    static_cast<void>(
        ComWebRequest(kUrl, {.proxyUser = "user", .requestObject = &transport, .completeHeaders = false}));
    EXPECT_EQ(transport.LastRequest().proxyUser, "");
    EXPECT_EQ(transport.LastRequest().headerBlock, "");
}

TEST(ComWebRequest, StatusHeadersAndMergedCookiesAreWrittenBack) {
    FakeHttpTransport transport;
    transport.Script(HttpResponse{true, 201, "Set-Cookie: b=3; path=/\r\nSet-Cookie: c=4;\r\n\r\n", "{}"});
    Text send = "a=1; b=2";
    Text received;
    Text headers;
    int status = 0;
    EXPECT_EQ(ComWebRequest(kUrl, {.sendCookiesInOut = &send,
                                   .receivedCookiesOut = &received,
                                   .responseHeadersOut = &headers,
                                   .statusCodeOut = &status,
                                   .requestObject = &transport}),
              "{}");
    EXPECT_EQ(status, 201);
    EXPECT_EQ(headers, "Set-Cookie: b=3; path=/\r\nSet-Cookie: c=4;\r\n\r\n");
    EXPECT_EQ(received, "b=3; c=4; a=1");
    EXPECT_EQ(send, "b=3; c=4; a=1");
}

TEST(ComWebRequest, ReceivedCookiesWithoutMergeOrGivenCookies) {
    FakeHttpTransport transport;
    transport.SetFallback(HttpResponse{true, 200, "Set-Cookie: x=9\r\n\r\n", ""});
    Text received;
    static_cast<void>(ComWebRequest(kUrl, {.receivedCookiesOut = &received, .requestObject = &transport}));
    EXPECT_EQ(received, "x=9");
}

TEST(ComWebRequest, ObjectThatCannotBeCreatedWritesNoOutput) {
    FakeHttpTransport transport;
    transport.FailToOpen();
    Text send = "Cookie: a=1";
    Text received = "kept";
    int status = -7;
    EXPECT_EQ(ComWebRequest(kUrl, {.sendCookiesInOut = &send,
                                   .receivedCookiesOut = &received,
                                   .statusCodeOut = &status,
                                   .requestObject = &transport}),
              "");
    EXPECT_EQ(send, "Cookie: a=1");
    EXPECT_EQ(received, "kept");
    EXPECT_EQ(status, -7);
    HttpFailure failure = HttpFailure::None;
    EXPECT_EQ(ComWebRequest(kUrl, {.requestObject = &transport, .failureOut = &failure}), "");
    EXPECT_EQ(failure, HttpFailure::NoAnswer);
}

} // namespace tovrik::net
