#pragma once

#include "net/HttpFailure.h"
#include "text/Types.h"

namespace tovrik::net {

class HttpTransport;

// Optional arguments of WebRequest, in their fixed order, so callers name only what they give:
//   WebRequest(url, {.method = 1, .postText = form, .extraHeaders = headers});
// A null pointer is an argument left out. Text arguments are views: the caller's strings must
// outlive the call.
struct WebRequestArgs {
    int method = 0; // index into GET POST HEAD PUT OPTIONS DELETE TRACE CONNECT
    TextView postText{};
    // Given at all (even empty): sent as the Cookie line, merged with the reply's cookies, and
    // the platform's own cookie store is neither read nor written.
    Text* sendCookiesInOut = nullptr;
    Text* receivedCookiesOut = nullptr;
    TextView extraHeaders{}; // lines separated by CR LF
    Text* responseHeadersOut = nullptr;
    bool noRedirect = false;
    // Takes precedence over postText; when empty it receives the bytes of postText.
    Bytes* postBytesInOut = nullptr;
    TextView proxy{}; // host:port; empty means a direct connection
    bool mergeCookies = true;
    bool completeHeaders = true;
    bool normalizeHeaderNames = true;
    bool socksProxy = false;
    // Beyond the fixed order: the whole exchange ends within this (at most kRequestDeadlineMs),
    // and why no usable reply came.
    int deadlineMs = kRequestDeadlineMs;
    HttpFailure* failureOut = nullptr;
};

// One complete exchange; returns the reply body. Empty when the platform could not set the
// request up (the outputs then keep their values), when the exchange failed, or when the body
// passed kMaxBodyBytes. Each phase times out after 30 s, the whole exchange after deadlineMs.
[[nodiscard]] Bytes WebRequest(TextView url, const WebRequestArgs& args = {});
[[nodiscard]] Bytes WebRequest(HttpTransport& transport, TextView url, const WebRequestArgs& args = {});

} // namespace tovrik::net
