#include "net/ComWebRequest.h"
#include "net/HttpTransport.h"
#include "net/RequestShaping.h"
#include "net/WebRequest.h"
#include "util/HttpTestServer.h"

#include <gtest/gtest.h>

#include <algorithm>

// The curl transport sends exactly the clients' header block, plus only what HTTP needs (Host,
// Content-Length) and the session's agent, and honours the arguments that have no portable
// observation on Windows.
namespace tovrik::net {

namespace {

using testutil::CannedReply;
using testutil::HttpTestServer;
using testutil::RecordedRequest;

// The header lines with the transport's own ones taken out.
std::vector<Text> ClientLines(const RecordedRequest& request, std::initializer_list<TextView> transportNames) {
    std::vector<Text> lines;
    for (const Text& line : request.headerLines) {
        const bool own = std::any_of(transportNames.begin(), transportNames.end(),
                                     [&line](TextView name) { return line.starts_with(Text(name) + ": "); });
        if (!own) {
            lines.push_back(line);
        }
    }
    return lines;
}

} // namespace

TEST(CurlWire, WebRequestGetSendsExactlyTheBlock) {
    HttpTestServer server;
    const Text url = server.Url("/g?q=1");
    static_cast<void>(WebRequest(url));
    const RecordedRequest request = server.LastRequest();
    EXPECT_EQ(request.Header("Host"), server.Address());
    EXPECT_EQ(request.Header("User-Agent"), Text(kDefaultUserAgent));
    EXPECT_EQ(ClientLines(request, {"Host", "User-Agent"}),
              (std::vector<Text>{"Accept: */*", "Referer: " + url, "Accept-Language: zh-cn"}));
}

TEST(CurlWire, MegabytePostSendsExactlyTheBlockWithoutExpect) {
    HttpTestServer server;
    const Text body(1024 * 1024, 'a');
    const Text url = server.Url("/p");
    static_cast<void>(WebRequest(url, {.method = 1, .postText = body, .extraHeaders = "X-Empty:"}));
    const RecordedRequest request = server.LastRequest();
    EXPECT_EQ(request.body, body);
    EXPECT_EQ(request.Header("Content-Length"), std::to_string(body.size()));
    EXPECT_EQ(ClientLines(request, {"Host", "User-Agent", "Content-Length"}),
              (std::vector<Text>{"X-Empty:", "Accept: */*", "Referer: " + url, "Accept-Language: zh-cn",
                                 "Content-Type: application/x-www-form-urlencoded"}));
}

TEST(CurlWire, ComWebRequestSendsExactlyItsHeaders) {
    HttpTestServer server;
    const Text url = server.Url("/c");
    // An empty Cookie value leaves the header out, as the request object does.
    Text noCookies;
    static_cast<void>(ComWebRequest(
        url, {.method = 3, .postText = "v", .sendCookiesInOut = &noCookies, .extraHeaders = "Connection: keep-alive"}));
    const RecordedRequest request = server.LastRequest();
    EXPECT_EQ(request.requestLine, "PUT /c HTTP/1.1");
    EXPECT_EQ(ClientLines(request, {"Host", "Content-Length"}),
              (std::vector<Text>{"Accept: */*", "Referer: " + url, "Accept-Language: zh-cn",
                                 "User-Agent: " + Text(kDefaultUserAgent)}));
}

// Wine's request object ignores a per-request proxy, so this runs where the transport is ours.
TEST(CurlWire, RequestObjectGoesThroughTheProxyWithCredentials) {
    HttpTestServer server;
    static_cast<void>(ComWebRequest("http://service.example/z",
                                    {.proxy = server.Address(), .proxyUser = "user", .proxyPassword = "secret"}));
    const RecordedRequest request = server.LastRequest();
    EXPECT_EQ(request.requestLine, "GET http://service.example/z HTTP/1.1");
    EXPECT_EQ(request.Header("Proxy-Authorization"), "Basic dXNlcjpzZWNyZXQ=");
}

TEST(CurlWire, EveryVerbOfTheTableGoesOut) {
    HttpTestServer server;
    const std::vector<Text> verbs = {"GET", "POST", "HEAD", "PUT", "OPTIONS", "DELETE", "TRACE"};
    for (int method = 0; method < static_cast<int>(verbs.size()); ++method) {
        static_cast<void>(WebRequest(server.Url("/v"), {.method = method}));
        EXPECT_EQ(server.LastRequest().method, verbs[static_cast<std::size_t>(method)]);
    }
}

TEST(CurlWire, SocksProxyCarriesTheRequest) {
    HttpTestServer server;
    CannedReply reply;
    reply.body = "via socks";
    server.SetReply(reply);
    EXPECT_EQ(WebRequest(server.Url("/s"), {.proxy = server.Address(), .socksProxy = true}), "via socks");
    EXPECT_TRUE(server.LastRequest().viaSocks);
    EXPECT_EQ(server.LastRequest().requestLine, "GET /s HTTP/1.1");
}

TEST(CurlWire, HugeRepliesAreAbortedEarlyByBothClients) {
    for (const bool announced : {false, true}) {
        for (const bool requestObject : {false, true}) {
            HttpTestServer server;
            CannedReply reply;
            reply.fillerBytes = 100ull * 1024 * 1024;
            reply.announceLength = announced;
            server.SetReply(reply);
            const Text url = server.Url("/huge");
            EXPECT_EQ(requestObject ? ComWebRequest(url) : WebRequest(url), "");
            EXPECT_LT(server.BodyBytesSent(), reply.fillerBytes) << announced << requestObject;
        }
    }
}

TEST(CurlWire, RequestObjectReportsHeadersWithoutTheStatusLine) {
    HttpTestServer server;
    CannedReply reply;
    reply.headerLines.push_back("X-Reply: 1");
    server.SetReply(reply);
    Text headers;
    static_cast<void>(ComWebRequest(server.Url("/h"), {.responseHeadersOut = &headers}));
    EXPECT_EQ(headers, "X-Reply: 1\r\nContent-Length: 0\r\n\r\n");
}

TEST(CurlWire, KeptRequestObjectKeepsItsCookies) {
    HttpTestServer server;
    server.SetHandler([](const RecordedRequest& request) {
        CannedReply reply;
        if (request.target == "/set") {
            reply.headerLines.push_back("Set-Cookie: object=1; path=/");
        }
        return reply;
    });
    const std::unique_ptr<HttpTransport> object = MakeComTransport();
    static_cast<void>(ComWebRequest(server.Url("/set"), {.requestObject = object.get()}));
    static_cast<void>(ComWebRequest(server.Url("/check"), {.requestObject = object.get()}));
    EXPECT_EQ(server.LastRequest().Header("Cookie"), "object=1");
    // A fresh object knows nothing of it.
    static_cast<void>(ComWebRequest(server.Url("/check")));
    EXPECT_EQ(server.LastRequest().HeaderCount("Cookie"), 0u);
}

} // namespace tovrik::net
