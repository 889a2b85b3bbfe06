#include "net/win32/WinHttpComTransport.h"
#include "net/ComWebRequest.h"
#include "util/HttpTestServer.h"

#include <gtest/gtest.h>

#include <windows.h>

// A reply that is in before the client starts waiting for it: on a busy machine the thread that
// sent the request may not run again until the reply has been read. Under Wine the object then
// answers the wait with "not yet" and fails the next exchange on it.
namespace tovrik::net {

namespace {

constexpr DWORD kBusyMs = 300;

} // namespace

TEST(WinHttpComTransport, ReplyInBeforeTheWaitIsTakenAndTheNextExchangesWork) {
    testutil::HttpTestServer server([](const testutil::RecordedRequest& request) {
        testutil::CannedReply reply;
        reply.body = "reply to " + request.target;
        return reply;
    });
    WinHttpComTransport object([] { Sleep(kBusyMs); });
    for (const char* path : {"/one", "/two", "/three"}) {
        int status = 0;
        HttpFailure failure = HttpFailure::TimedOut;
        Text headers;
        const Bytes body = ComWebRequest(server.Url(path), {.responseHeadersOut = &headers,
                                                            .statusCodeOut = &status,
                                                            .requestObject = &object,
                                                            .failureOut = &failure});
        EXPECT_EQ(body, "reply to " + Text(path));
        EXPECT_EQ(status, 200) << path;
        EXPECT_EQ(failure, HttpFailure::None) << path;
        EXPECT_TRUE(headers.starts_with("HTTP/1.1 200")) << headers;
    }
    EXPECT_EQ(server.RequestCount(), 3u);
}

TEST(WinHttpComTransport, RedirectInBeforeTheWaitIsReportedAsItCame) {
    testutil::HttpTestServer server(
        [](const testutil::RecordedRequest&) { return testutil::CannedReply::Redirect(302, "/to"); });
    WinHttpComTransport object([] { Sleep(kBusyMs); });
    int status = 0;
    HttpFailure failure = HttpFailure::TimedOut;
    static_cast<void>(ComWebRequest(
        server.Url("/from"),
        {.statusCodeOut = &status, .noRedirect = true, .requestObject = &object, .failureOut = &failure}));
    EXPECT_EQ(status, 302);
    EXPECT_EQ(failure, HttpFailure::None);
}

// The pause must not make a wait that did run out look like a reply that came early.
TEST(WinHttpComTransport, SlowServerStillTimesOutAfterAPauseBeforeTheWait) {
    testutil::HttpTestServer server([](const testutil::RecordedRequest&) {
        testutil::CannedReply reply;
        reply.body = "late";
        reply.delayMs = 6000;
        return reply;
    });
    WinHttpComTransport object([] { Sleep(kBusyMs); });
    HttpFailure failure = HttpFailure::None;
    EXPECT_EQ(
        ComWebRequest(server.Url("/slow"), {.timeoutSeconds = 1, .requestObject = &object, .failureOut = &failure}),
        "");
    EXPECT_EQ(failure, HttpFailure::TimedOut);
}

} // namespace tovrik::net
