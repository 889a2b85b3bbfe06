#pragma once

#include "net/HttpFailure.h"
#include "text/Types.h"

namespace tovrik::net {

class HttpTransport;

// Optional arguments of ComWebRequest, in their fixed order:
//   ComWebRequest(url, {.method = 1, .postText = form, .extraHeaders = headers});
// A null pointer is an argument left out. Text arguments are views: the caller's strings must
// outlive the call.
struct ComWebRequestArgs {
    int method = 0; // index into GET POST HEAD PUT OPTIONS DELETE TRACE CONNECT
    TextView postText{};
    // Given at all (even empty): sent as the Cookie header (a leading "Cookie:" is removed from
    // it) and merged with the reply's cookies.
    Text* sendCookiesInOut = nullptr;
    Text* receivedCookiesOut = nullptr;
    TextView extraHeaders{}; // lines separated by CR LF
    Text* responseHeadersOut = nullptr;
    int* statusCodeOut = nullptr;
    bool noRedirect = false;
    BytesView postBytes{}; // takes precedence over postText
    TextView proxy{};      // empty means no proxy setting
    // Seconds for each phase (resolve, connect, send, receive); below 1 means 15, -1 keeps the
    // platform's defaults.
    int timeoutSeconds = 0;
    TextView proxyUser{};
    TextView proxyPassword{};
    int credentialsTarget = 1; // 1: the credentials are for the proxy, 0: for the server
    // A transport the caller keeps (and its connection state); a fresh one otherwise.
    HttpTransport* requestObject = nullptr;
    bool mergeCookies = true;
    bool completeHeaders = true;
    bool normalizeHeaderNames = true;
    // Beyond the fixed order: the whole exchange ends within this (at most kRequestDeadlineMs)
    // whatever timeoutSeconds says, and why no usable reply came.
    int deadlineMs = kRequestDeadlineMs;
    HttpFailure* failureOut = nullptr;
};

// One complete exchange; returns the reply body. Empty when the request object could not be
// created (no output is written then), when the exchange failed, or when the body passed
// kMaxBodyBytes.
[[nodiscard]] Bytes ComWebRequest(TextView url, const ComWebRequestArgs& args = {});

} // namespace tovrik::net
