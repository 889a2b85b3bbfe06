#include "net/ComWebRequest.h"
#include "net/HttpTransport.h"
#include "net/RequestShaping.h"
#include "net/WebRequest.h"
#include "util/HttpTestServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread> // steady_clock: <chrono> itself has literals that code page 936 cannot hold

// Both clients with the platform's own transports against the recording server on 127.0.0.1.
// What the platform adds on its own (Host, caching and connection lines) differs between
// builds; these tests check what the clients decide.
namespace tovrik::net {

namespace {

using testutil::CannedReply;
using testutil::HttpTestServer;
using testutil::RecordedRequest;

constexpr std::uint64_t kHugeBody = 100ull * 1024 * 1024;
// A reply of this many bytes at 2 bytes a second would take 100 s.
constexpr std::uint64_t kTrickledBytes = 200;
constexpr int kTestDeadlineMs = 2000;

// Index of the exact header line, or -1.
long LineIndex(const RecordedRequest& request, TextView line) {
    const auto found = std::find(request.headerLines.begin(), request.headerLines.end(), line);
    return found == request.headerLines.end() ? -1 : static_cast<long>(found - request.headerLines.begin());
}

// The lines arrived, each exactly once, in this order (other lines may come between them).
void ExpectLinesInOrder(const RecordedRequest& request, std::initializer_list<Text> lines) {
    long previous = -1;
    for (const Text& line : lines) {
        const long index = LineIndex(request, line);
        EXPECT_GT(index, previous) << "line \"" << line << "\" missing or out of order";
        EXPECT_EQ(std::count(request.headerLines.begin(), request.headerLines.end(), line), 1) << line;
        previous = std::max(previous, index);
    }
}

CannedReply TextReply(Text body, std::vector<Text> headerLines = {}) {
    CannedReply reply;
    reply.body = std::move(body);
    reply.headerLines = std::move(headerLines);
    return reply;
}

// Paths give distinct answers: /from redirects to /to, /slow answers late, /trickle sends 2 bytes
// a second, /huge* stream 100 MB.
CannedReply Route(const RecordedRequest& request) {
    if (request.target == "/from") {
        return CannedReply::Redirect(302, "/to");
    }
    if (request.target == "/slow") {
        CannedReply reply = TextReply("late");
        reply.delayMs = 6000;
        return reply;
    }
    if (request.target == "/trickle") {
        CannedReply reply;
        reply.fillerBytes = kTrickledBytes;
        reply.trickleBytesPerSecond = 2;
        return reply;
    }
    if (request.target.starts_with("/huge")) {
        CannedReply reply;
        reply.fillerBytes = kHugeBody;
        reply.announceLength = request.target == "/huge-announced";
        return reply;
    }
    return TextReply("reply to " + request.target);
}

class HttpClientWire : public testing::Test {
protected:
    HttpTestServer m_server{Route};
};

} // namespace

TEST_F(HttpClientWire, WebRequestGetSendsTheStandardLinesAndTheQuery) {
    const Text url = m_server.Url("/path?q=1&r=%2F");
    EXPECT_EQ(WebRequest(url), "reply to /path?q=1&r=%2F");
    const RecordedRequest request = m_server.LastRequest();
    EXPECT_EQ(request.requestLine, "GET /path?q=1&r=%2F HTTP/1.1");
    ExpectLinesInOrder(request, {"Accept: */*", "Referer: " + url, "Accept-Language: zh-cn"});
    EXPECT_EQ(request.Header("User-Agent"), Text(kDefaultUserAgent));
    EXPECT_EQ(request.HeaderCount("Content-Type"), 0u);
    EXPECT_EQ(request.body, "");
}

TEST_F(HttpClientWire, WebRequestPostSendsTheFormBodyAndFourthLine) {
    const Text url = m_server.Url("/form");
    static_cast<void>(WebRequest(url, {.method = 1, .postText = "a=1&b=%E4"}));
    const RecordedRequest request = m_server.LastRequest();
    EXPECT_EQ(request.requestLine, "POST /form HTTP/1.1");
    ExpectLinesInOrder(request, {"Accept: */*", "Referer: " + url, "Accept-Language: zh-cn",
                                 "Content-Type: application/x-www-form-urlencoded"});
    EXPECT_EQ(request.Header("Content-Length"), "9");
    EXPECT_EQ(request.body, "a=1&b=%E4");
}

TEST_F(HttpClientWire, WebRequestGivenHeadersArriveNormalisedAndFirst) {
    static_cast<void>(
        WebRequest(m_server.Url("/h"), {.extraHeaders = "x-custom-name: Value\r\nreferer: http://r.example/"}));
    const RecordedRequest request = m_server.LastRequest();
    ExpectLinesInOrder(request,
                       {"X-Custom-Name: Value", "Referer: http://r.example/", "Accept: */*", "Accept-Language: zh-cn"});
    EXPECT_EQ(request.HeaderCount("Referer"), 1u);
}

TEST_F(HttpClientWire, SchemeLessAddressWithPortAndMethodNine) {
    const Text url = m_server.Address() + "/plain?x=%20y";
    EXPECT_EQ(WebRequest(url, {.method = 9, .postText = "not sent"}), "reply to /plain?x=%20y");
    const RecordedRequest request = m_server.LastRequest();
    EXPECT_EQ(request.requestLine, "GET /plain?x=%20y HTTP/1.1");
    EXPECT_EQ(request.body, "");
}

TEST_F(HttpClientWire, PostBytesGoOutInsteadOfPostText) {
    const Bytes bytes("\x01\x00\xFFz", 4);
    Bytes given = bytes;
    static_cast<void>(WebRequest(m_server.Url("/b"), {.method = 1, .postText = "text", .postBytesInOut = &given}));
    EXPECT_EQ(m_server.LastRequest().body, bytes);
    static_cast<void>(ComWebRequest(m_server.Url("/c"), {.method = 1, .postText = "text", .postBytes = bytes}));
    EXPECT_EQ(m_server.LastRequest().body, bytes);
}

TEST_F(HttpClientWire, TwoSetCookieLinesBecomeReceivedCookies) {
    m_server.SetReply(TextReply("ok", {"Set-Cookie: BAIDUID=AB12:FG=1; path=/", "Set-Cookie: lang=zh"}));
    // Own (empty) cookies keep these out of the platform store, where they would outlive the test.
    Text own;
    Text received;
    Text headers;
    EXPECT_EQ(WebRequest(m_server.Url("/c"), {.sendCookiesInOut = &own,
                                              .receivedCookiesOut = &received,
                                              .responseHeadersOut = &headers,
                                              .mergeCookies = false}),
              "ok");
    EXPECT_EQ(received, "BAIDUID=AB12:FG=1; lang=zh");
    EXPECT_TRUE(headers.starts_with("HTTP/1.1 200 OK\r\n")) << headers;
    EXPECT_NE(headers.find("Set-Cookie: lang=zh\r\n"), Text::npos) << headers;

    Text comReceived;
    Text comHeaders;
    int status = 0;
    EXPECT_EQ(ComWebRequest(
                  m_server.Url("/c"),
                  {.receivedCookiesOut = &comReceived, .responseHeadersOut = &comHeaders, .statusCodeOut = &status}),
              "ok");
    EXPECT_EQ(comReceived, "BAIDUID=AB12:FG=1; lang=zh");
    EXPECT_EQ(status, 200);
    EXPECT_EQ(comHeaders.find('\0'), Text::npos);
    EXPECT_NE(comHeaders.find("Set-Cookie: lang=zh\r\n"), Text::npos) << comHeaders;
}

TEST_F(HttpClientWire, GivenCookiesAreSentAndMergedResultsWrittenBack) {
    m_server.SetReply(TextReply("ok", {"Set-Cookie: b=3; path=/"}));
    Text send = "a=1; b=2";
    Text received;
    static_cast<void>(WebRequest(m_server.Url("/m"), {.sendCookiesInOut = &send, .receivedCookiesOut = &received}));
    EXPECT_EQ(m_server.LastRequest().Header("Cookie"), "a=1; b=2");
    EXPECT_EQ(send, "b=3; a=1");
    EXPECT_EQ(received, "b=3; a=1");

    Text comSend = "Cookie: a=1; b=2";
    Text comReceived;
    static_cast<void>(
        ComWebRequest(m_server.Url("/m"), {.sendCookiesInOut = &comSend, .receivedCookiesOut = &comReceived}));
    EXPECT_EQ(m_server.LastRequest().Header("Cookie"), "a=1; b=2");
    EXPECT_EQ(comSend, "b=3; a=1");
    EXPECT_EQ(comReceived, "b=3; a=1");
}

TEST_F(HttpClientWire, CookiesGivenKeepThePlatformStoreOutOfTheExchange) {
    static std::atomic<int> run{0};
    const Text stored = "stored" + std::to_string(++run) + "=1";
    const Text unseen = "unseen" + std::to_string(run) + "=1";
    m_server.SetHandler([&](const RecordedRequest& request) {
        if (request.target == "/set-stored") {
            return TextReply("", {"Set-Cookie: " + stored + "; path=/"});
        }
        if (request.target == "/set-unseen") {
            return TextReply("", {"Set-Cookie: " + unseen + "; path=/"});
        }
        if (request.target == "/expire") {
            return TextReply("", {"Set-Cookie: " + stored + "; path=/; expires=Thu, 01 Jan 1970 00:00:00 GMT"});
        }
        return TextReply("");
    });
    const auto cookieHeader = [this] { return m_server.LastRequest().Header("Cookie").value_or(""); };

    // Left out: the store keeps the cookie and sends it back.
    static_cast<void>(WebRequest(m_server.Url("/set-stored")));
    static_cast<void>(WebRequest(m_server.Url("/check")));
    EXPECT_NE(cookieHeader().find(stored), Text::npos) << cookieHeader();

    // Given, even empty: the store is not read...
    Text none;
    static_cast<void>(WebRequest(m_server.Url("/check"), {.sendCookiesInOut = &none}));
    EXPECT_EQ(m_server.LastRequest().HeaderCount("Cookie"), 0u);

    // ...and not written.
    Text own;
    static_cast<void>(WebRequest(m_server.Url("/set-unseen"), {.sendCookiesInOut = &own}));
    EXPECT_EQ(own, unseen);
    static_cast<void>(WebRequest(m_server.Url("/check")));
    EXPECT_EQ(cookieHeader().find(unseen), Text::npos) << cookieHeader();

    static_cast<void>(WebRequest(m_server.Url("/expire")));
    static_cast<void>(WebRequest(m_server.Url("/check")));
    EXPECT_EQ(cookieHeader().find(stored), Text::npos) << cookieHeader();
}

TEST_F(HttpClientWire, ComWebRequestPostSendsTheFiveStandardHeadersInOrder) {
    const Text url = m_server.Url("/general?access_token=T");
    EXPECT_EQ(ComWebRequest(url, {.method = 1, .postText = "image=x"}), "reply to /general?access_token=T");
    const RecordedRequest request = m_server.LastRequest();
    EXPECT_EQ(request.requestLine, "POST /general?access_token=T HTTP/1.1");
    ExpectLinesInOrder(request,
                       {"Accept: */*", "Referer: " + url, "Accept-Language: zh-cn",
                        "User-Agent: " + Text(kDefaultUserAgent), "Content-Type: application/x-www-form-urlencoded"});
    EXPECT_EQ(request.body, "image=x");
}

TEST_F(HttpClientWire, ComWebRequestDropsKeepAliveButSendsClose) {
    static_cast<void>(ComWebRequest(m_server.Url("/k"), {.extraHeaders = "Connection: keep-alive\r\nX-Tag: 1"}));
    EXPECT_EQ(LineIndex(m_server.LastRequest(), "Connection: keep-alive"), -1);
    EXPECT_EQ(m_server.LastRequest().Header("X-Tag"), "1");
    static_cast<void>(ComWebRequest(m_server.Url("/k"), {.extraHeaders = "Connection: close\r\nX-Tag: 2"}));
    EXPECT_EQ(m_server.LastRequest().Header("Connection"), "close");
}

TEST_F(HttpClientWire, RedirectsAreFollowedUnlessSwitchedOff) {
    EXPECT_EQ(WebRequest(m_server.Url("/from")), "reply to /to");
    EXPECT_EQ(m_server.LastRequest().target, "/to");
    int status = 0;
    EXPECT_EQ(ComWebRequest(m_server.Url("/from"), {.statusCodeOut = &status}), "reply to /to");
    EXPECT_EQ(status, 200);

    const std::size_t before = m_server.RequestCount();
    Text headers;
    static_cast<void>(WebRequest(m_server.Url("/from"), {.responseHeadersOut = &headers, .noRedirect = true}));
    EXPECT_TRUE(headers.starts_with("HTTP/1.1 302")) << headers;
    HttpFailure failure = HttpFailure::None;
    static_cast<void>(
        ComWebRequest(m_server.Url("/from"), {.statusCodeOut = &status, .noRedirect = true, .failureOut = &failure}));
    EXPECT_EQ(status, 302) << "failure " << static_cast<int>(failure);
    EXPECT_EQ(m_server.RequestCount(), before + 2);
    EXPECT_EQ(m_server.LastRequest().target, "/from");
}

TEST_F(HttpClientWire, SlowServerRunsIntoTheTimeout) {
    int status = -1;
    Text headers = "stale";
    HttpFailure failure = HttpFailure::None;
    EXPECT_EQ(
        ComWebRequest(
            m_server.Url("/slow"),
            {.responseHeadersOut = &headers, .statusCodeOut = &status, .timeoutSeconds = 1, .failureOut = &failure}),
        "");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(headers, "");
    EXPECT_EQ(failure, HttpFailure::TimedOut);
}

// Every phase makes progress, so no per-phase time-out ever fires: only the deadline of the
// whole exchange ends it. (The real deadline of 60 s is timed by scripts/request-deadline.sh.)
TEST_F(HttpClientWire, TricklingReplyIsCutOffAtTheDeadlineByBothClients) {
    using Clock = std::chrono::steady_clock;
    const auto secondsSince = [](Clock::time_point start) {
        return std::chrono::duration<double>(Clock::now() - start).count();
    };
    HttpFailure failure = HttpFailure::None;
    Clock::time_point start = Clock::now();
    static_cast<void>(WebRequest(m_server.Url("/trickle"), {.deadlineMs = kTestDeadlineMs, .failureOut = &failure}));
    const double webSeconds = secondsSince(start);
    EXPECT_EQ(failure, HttpFailure::TimedOut);
    EXPECT_GE(webSeconds, 1.5);
    EXPECT_LT(webSeconds, 15.0);

    failure = HttpFailure::None;
    start = Clock::now();
    static_cast<void>(ComWebRequest(m_server.Url("/trickle"), {.deadlineMs = kTestDeadlineMs, .failureOut = &failure}));
    const double comSeconds = secondsSince(start);
    EXPECT_EQ(failure, HttpFailure::TimedOut);
    EXPECT_GE(comSeconds, 1.5);
    EXPECT_LT(comSeconds, 15.0);
    EXPECT_LT(m_server.BodyBytesSent(), 2 * kTrickledBytes);
}

TEST_F(HttpClientWire, CompleteRepliesReportNoFailure) {
    HttpFailure failure = HttpFailure::TimedOut;
    EXPECT_EQ(WebRequest(m_server.Url("/fine"), {.failureOut = &failure}), "reply to /fine");
    EXPECT_EQ(failure, HttpFailure::None);
    failure = HttpFailure::TimedOut;
    EXPECT_EQ(ComWebRequest(m_server.Url("/fine"), {.failureOut = &failure}), "reply to /fine");
    EXPECT_EQ(failure, HttpFailure::None);
}

TEST_F(HttpClientWire, HugeReplyWithoutLengthIsDroppedAndItsTransferAborted) {
    Text headers;
    EXPECT_EQ(WebRequest(m_server.Url("/huge"), {.responseHeadersOut = &headers}), "");
    EXPECT_TRUE(headers.starts_with("HTTP/1.1 200")) << headers;
    EXPECT_LT(m_server.BodyBytesSent(), kHugeBody);
}

TEST_F(HttpClientWire, HugeReplyWithLengthIsDroppedByBothClients) {
    HttpFailure failure = HttpFailure::None;
    EXPECT_EQ(WebRequest(m_server.Url("/huge-announced"), {.failureOut = &failure}), "");
    EXPECT_EQ(failure, HttpFailure::TooLarge);
    int status = 0;
    EXPECT_EQ(ComWebRequest(m_server.Url("/huge-announced"), {.statusCodeOut = &status}), "");
    EXPECT_EQ(status, 200);
}

TEST_F(HttpClientWire, HttpProxyReceivesTheAbsoluteAddress) {
    EXPECT_TRUE(WebRequest("http://service.example/x?y=1", {.proxy = m_server.Address()}).starts_with("reply to"));
    // Whether the default port is spelled out in the absolute address is the platform's choice.
    const Text target = m_server.LastRequest().target;
    EXPECT_TRUE(target.starts_with("http://service.example") && target.ends_with("/x?y=1")) << target;
}

TEST_F(HttpClientWire, KeptRequestObjectReusesItsConnection) {
    const std::unique_ptr<HttpTransport> object = MakeComTransport();
    EXPECT_EQ(ComWebRequest(m_server.Url("/one"), {.requestObject = object.get()}), "reply to /one");
    EXPECT_EQ(ComWebRequest(m_server.Url("/two"), {.requestObject = object.get()}), "reply to /two");
    const std::vector<RecordedRequest> requests = m_server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].connection, requests[1].connection);
}

TEST_F(HttpClientWire, UnreachableServerGivesEmptyResults) {
    const Text url = "http://127.0.0.1:1/nothing";
    Text headers = "stale";
    int status = -1;
    HttpFailure webFailure = HttpFailure::None;
    HttpFailure comFailure = HttpFailure::None;
    EXPECT_EQ(WebRequest(url, {.responseHeadersOut = &headers, .failureOut = &webFailure}), "");
    EXPECT_EQ(headers, "");
    EXPECT_EQ(ComWebRequest(url, {.statusCodeOut = &status, .timeoutSeconds = 2, .failureOut = &comFailure}), "");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(webFailure, HttpFailure::NoAnswer);
    EXPECT_EQ(comFailure, HttpFailure::NoAnswer);
}

} // namespace tovrik::net
