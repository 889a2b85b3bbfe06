#include "net/WebRequest.h"

#include "net/HttpTransport.h"
#include "net/RequestShaping.h"
#include "util/FakeHttpTransport.h"

#include <gtest/gtest.h>

#include <optional>

// WebRequest's shaping, checked on the request handed to the transport.
namespace tovrik::net {

namespace {

using testutil::FakeHttpTransport;

constexpr TextView kUrl = "http://api.example.com/path?q=1";

HttpResponse ReplyWithHeaders(Text headers, Bytes body = "body") {
    return HttpResponse{true, 200, std::move(headers), std::move(body)};
}

} // namespace

TEST(WebRequest, GetWithEmptyExtraHeadersSendsThreeStandardLines) {
    FakeHttpTransport transport;
    EXPECT_EQ(WebRequest(transport, kUrl), "");
    const HttpRequest& sent = transport.LastRequest();
    EXPECT_EQ(sent.verb, "GET");
    EXPECT_EQ(sent.headerBlock, "Accept: */*\r\nReferer: http://api.example.com/path?q=1\r\nAccept-Language: zh-cn");
    EXPECT_EQ(sent.body, "");
    EXPECT_EQ(sent.userAgent, kDefaultUserAgent);
}

TEST(WebRequest, PostAddsTheFormContentTypeAsFourthLine) {
    FakeHttpTransport transport;
    static_cast<void>(WebRequest(transport, kUrl, {.method = 1, .postText = "a=1&b=2"}));
    const HttpRequest& sent = transport.LastRequest();
    EXPECT_EQ(sent.verb, "POST");
    EXPECT_EQ(sent.headerBlock, "Accept: */*\r\nReferer: http://api.example.com/path?q=1\r\nAccept-Language: "
                                "zh-cn\r\nContent-Type: application/x-www-form-urlencoded");
    EXPECT_EQ(sent.body, "a=1&b=2");
}

TEST(WebRequest, GivenHeadersAreNormalisedFirstAndCompletedAfter) {
    FakeHttpTransport transport;
    static_cast<void>(WebRequest(
        transport, kUrl, {.method = 1, .extraHeaders = "user-agent: Tester/1.0\r\nno colon here\r\nx-trace-id: 7"}));
    EXPECT_EQ(transport.LastRequest().headerBlock,
              "User-Agent: Tester/1.0\r\nX-Trace-Id: 7\r\nAccept: */*\r\nReferer: http://api.example.com/path?q=1\r\n"
              "Accept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded");
    EXPECT_EQ(transport.LastRequest().userAgent, "Tester/1.0");
}

TEST(WebRequest, StandardLinesGivenInAnyCaseAreNotAddedAgain) {
    FakeHttpTransport transport;
    const Text given =
        "accept: text/html\r\nREFERER: http://r.example/\r\naccept-language: en\r\ncontent-type: text/plain";
    static_cast<void>(WebRequest(transport, kUrl, {.method = 1, .extraHeaders = given, .normalizeHeaderNames = false}));
    EXPECT_EQ(transport.LastRequest().headerBlock, given);
}

TEST(WebRequest, WithoutCompletionOrNormalisationTheBlockGoesAsGiven) {
    FakeHttpTransport transport;
    static_cast<void>(WebRequest(transport, kUrl,
                                 {.extraHeaders = "x-a: 1\r\nuser-agent:  Raw Agent ",
                                  .completeHeaders = false,
                                  .normalizeHeaderNames = false}));
    EXPECT_EQ(transport.LastRequest().headerBlock, "x-a: 1\r\nuser-agent:  Raw Agent ");
    // The agent is that line's value only, never text from other lines.
    EXPECT_EQ(transport.LastRequest().userAgent, "Raw Agent");
}

TEST(WebRequest, EmptyUserAgentLineFallsBackToTheDefaultAgent) {
    FakeHttpTransport transport;
    static_cast<void>(WebRequest(transport, kUrl, {.extraHeaders = "User-Agent: \r\nAccept: x"}));
    EXPECT_EQ(transport.LastRequest().userAgent, kDefaultUserAgent);
}

TEST(WebRequest, MethodOutsideTheTableIsGetWithoutBody) {
    FakeHttpTransport transport;
    static_cast<void>(WebRequest(transport, kUrl, {.method = 9, .postText = "ignored"}));
    static_cast<void>(WebRequest(transport, kUrl, {.method = -3, .postText = "ignored"}));
    for (const HttpRequest& sent : transport.Requests()) {
        EXPECT_EQ(sent.verb, "GET");
        EXPECT_EQ(sent.body, "");
        EXPECT_EQ(sent.headerBlock.find("Content-Type"), Text::npos);
    }
}

TEST(WebRequest, AddressPartsReachTheTransport) {
    FakeHttpTransport transport;
    static_cast<void>(WebRequest(transport, "Files.Example.com:8080/dl/a.bin?v=2"));
    const HttpRequest& sent = transport.LastRequest();
    EXPECT_EQ(sent.host, "files.example.com");
    EXPECT_EQ(sent.port, 8080);
    EXPECT_EQ(sent.path, "/dl/a.bin?v=2");
    EXPECT_FALSE(sent.secure);
    EXPECT_EQ(sent.url, "http://files.example.com:8080/dl/a.bin?v=2");

    static_cast<void>(WebRequest(transport, "HTTPS://Secure.example.com/x"));
    EXPECT_TRUE(transport.LastRequest().secure);
    EXPECT_EQ(transport.LastRequest().url, "https://secure.example.com:443/x");
}

TEST(WebRequest, EveryPhaseTimesOutAfterThirtySeconds) {
    FakeHttpTransport transport;
    static_cast<void>(WebRequest(transport, kUrl));
    ASSERT_TRUE(transport.LastRequest().timeoutMs.has_value());
    EXPECT_EQ(*transport.LastRequest().timeoutMs, 30000);
}

TEST(WebRequest, TheWholeExchangeEndsWithinSixtySecondsOrTheShorterDeadlineAsked) {
    FakeHttpTransport transport;
    const auto deadlineFor = [&transport](std::optional<int> asked) {
        static_cast<void>(asked ? WebRequest(transport, kUrl, {.deadlineMs = *asked}) : WebRequest(transport, kUrl));
        return transport.LastRequest().deadlineMs;
    };
    EXPECT_EQ(deadlineFor(std::nullopt), 60000);
    EXPECT_EQ(deadlineFor(2500), 2500);
    EXPECT_EQ(deadlineFor(600000), 60000);
    EXPECT_EQ(deadlineFor(0), 1);
}

TEST(WebRequest, FailureOfTheExchangeIsHandedBack) {
    FakeHttpTransport transport;
    HttpFailure failure = HttpFailure::None;
    transport.Script(HttpResponse{true, 0, {}, "par", HttpFailure::TimedOut});
    EXPECT_EQ(WebRequest(transport, kUrl, {.failureOut = &failure}), "par");
    EXPECT_EQ(failure, HttpFailure::TimedOut);
    transport.Script(ReplyWithHeaders("HTTP/1.1 200 OK\r\n"));
    EXPECT_EQ(WebRequest(transport, kUrl, {.failureOut = &failure}), "body");
    EXPECT_EQ(failure, HttpFailure::None);
    transport.FailToOpen();
    EXPECT_EQ(WebRequest(transport, kUrl, {.failureOut = &failure}), "");
    EXPECT_EQ(failure, HttpFailure::NoAnswer);
}

TEST(WebRequest, RedirectProxyAndSocksFlagsPassThrough) {
    FakeHttpTransport transport;
    static_cast<void>(WebRequest(transport, kUrl));
    EXPECT_TRUE(transport.LastRequest().followRedirects);
    EXPECT_EQ(transport.LastRequest().proxy, "");
    static_cast<void>(WebRequest(transport, kUrl, {.noRedirect = true, .proxy = "10.0.0.1:1080", .socksProxy = true}));
    EXPECT_FALSE(transport.LastRequest().followRedirects);
    EXPECT_EQ(transport.LastRequest().proxy, "10.0.0.1:1080");
    EXPECT_TRUE(transport.LastRequest().socksProxy);
}

TEST(WebRequest, PostBytesWinOverPostTextAndEmptyPostBytesReceiveIt) {
    FakeHttpTransport transport;
    Bytes bytes("\x00\x01raw", 5);
    static_cast<void>(WebRequest(transport, kUrl, {.method = 1, .postText = "text", .postBytesInOut = &bytes}));
    EXPECT_EQ(transport.LastRequest().body, Bytes("\x00\x01raw", 5));
    EXPECT_EQ(bytes, Bytes("\x00\x01raw", 5));

    Bytes empty;
    static_cast<void>(WebRequest(transport, kUrl, {.method = 3, .postText = "text", .postBytesInOut = &empty}));
    EXPECT_EQ(transport.LastRequest().verb, "PUT");
    EXPECT_EQ(transport.LastRequest().body, "text");
    EXPECT_EQ(empty, "text");

    // A GET sends no body, so nothing is written back.
    Bytes untouched;
    static_cast<void>(WebRequest(transport, kUrl, {.postText = "text", .postBytesInOut = &untouched}));
    EXPECT_EQ(untouched, "");
}

TEST(WebRequest, CookiesLeftOutKeepThePlatformStore) {
    FakeHttpTransport transport;
    static_cast<void>(WebRequest(transport, kUrl));
    EXPECT_TRUE(transport.LastRequest().useCookieStore);
    EXPECT_EQ(transport.LastRequest().headerBlock.find("Cookie"), Text::npos);
}

TEST(WebRequest, EmptyCookiesGivenSwitchTheStoreOffAndSendNoCookieLine) {
    FakeHttpTransport transport;
    Text cookies;
    static_cast<void>(WebRequest(transport, kUrl, {.sendCookiesInOut = &cookies}));
    EXPECT_FALSE(transport.LastRequest().useCookieStore);
    EXPECT_EQ(transport.LastRequest().headerBlock.find("Cookie"), Text::npos);
}

TEST(WebRequest, CookieLineIsAddedOrTakenAsWritten) {
    FakeHttpTransport transport;
    Text plain = "a=1; b=2";
    static_cast<void>(WebRequest(transport, kUrl, {.sendCookiesInOut = &plain, .mergeCookies = false}));
    EXPECT_TRUE(transport.LastRequest().headerBlock.ends_with("\r\nAccept-Language: zh-cn\r\nCookie: a=1; b=2"));

    Text written = "Cookie: c=3";
    static_cast<void>(WebRequest(transport, kUrl, {.sendCookiesInOut = &written, .mergeCookies = false}));
    EXPECT_TRUE(transport.LastRequest().headerBlock.ends_with("\r\nAccept-Language: zh-cn\r\nCookie: c=3"));
}

TEST(WebRequest, HeadersAndCookiesOfTheReplyAreWrittenBack) {
    FakeHttpTransport transport;
    transport.Script(ReplyWithHeaders("HTTP/1.1 200 OK\r\nSet-Cookie: sid=42; path=/\r\nSet-Cookie: lang=zh\r\n\r\n"));
    Text received = "stale";
    Text headers = "stale";
    EXPECT_EQ(WebRequest(transport, kUrl, {.receivedCookiesOut = &received, .responseHeadersOut = &headers}), "body");
    EXPECT_EQ(received, "sid=42; lang=zh");
    EXPECT_EQ(headers, "HTTP/1.1 200 OK\r\nSet-Cookie: sid=42; path=/\r\nSet-Cookie: lang=zh\r\n\r\n");
}

TEST(WebRequest, MergeWritesTheMergedListBackIntoBothVariables) {
    FakeHttpTransport transport;
    transport.Script(
        ReplyWithHeaders("HTTP/1.1 200 OK\r\nSet-Cookie: b=3; path=/\r\nSet-Cookie: gone=deleted\r\n\r\n"));
    Text send = "a=1; b=2; gone=1";
    Text received;
    static_cast<void>(WebRequest(transport, kUrl, {.sendCookiesInOut = &send, .receivedCookiesOut = &received}));
    EXPECT_EQ(send, "b=3; a=1");
    EXPECT_EQ(received, "b=3; a=1");
}

TEST(WebRequest, WithoutMergeTheSentCookiesStayAsTheyWere) {
    FakeHttpTransport transport;
    transport.Script(ReplyWithHeaders("HTTP/1.1 200 OK\r\nSet-Cookie: b=3\r\n\r\n"));
    Text send = "a=1";
    Text received;
    static_cast<void>(WebRequest(transport, kUrl,
                                 {.sendCookiesInOut = &send, .receivedCookiesOut = &received, .mergeCookies = false}));
    EXPECT_EQ(send, "a=1");
    EXPECT_EQ(received, "b=3");
}

TEST(WebRequest, RequestThatCannotBeSetUpLeavesEveryOutputAlone) {
    FakeHttpTransport transport;
    transport.FailToOpen();
    Text send = "a=1";
    Text received = "kept";
    Text headers = "kept";
    Bytes bytes;
    EXPECT_EQ(WebRequest(transport, kUrl,
                         {.method = 1,
                          .postText = "x=1",
                          .sendCookiesInOut = &send,
                          .receivedCookiesOut = &received,
                          .responseHeadersOut = &headers,
                          .postBytesInOut = &bytes}),
              "");
    EXPECT_EQ(send, "a=1");
    EXPECT_EQ(received, "kept");
    EXPECT_EQ(headers, "kept");
    EXPECT_EQ(bytes, "");
}

TEST(WebRequest, OversizedBodyFromTheTransportIsDropped) {
    FakeHttpTransport transport;
    transport.Script(ReplyWithHeaders("HTTP/1.1 200 OK\r\n\r\n", Bytes(kMaxBodyBytes + 1, 'x')));
    HttpFailure failure = HttpFailure::None;
    EXPECT_EQ(WebRequest(transport, kUrl, {.failureOut = &failure}), "");
    EXPECT_EQ(failure, HttpFailure::TooLarge);
}

} // namespace tovrik::net
