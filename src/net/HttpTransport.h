#pragma once

#include "net/HttpFailure.h"
#include "text/Types.h"

#include <cstddef>
#include <memory>
#include <optional>

// The port between the request shaping of the two HTTP clients and the platform that carries
// the exchange. The core decides every byte of the header block and the body; a transport only
// moves them and reports what came back.
namespace tovrik::net {

// A reply body past this size is dropped (empty result) and its transfer aborted, so that a
// hostile or broken server cannot exhaust the memory of the process.
inline constexpr std::size_t kMaxBodyBytes = 64u * 1024u * 1024u;

struct HttpRequest {
    Text verb;
    // The address the platform opens: rebuilt from host, port and path for the first client,
    // the caller's URL unchanged for the second.
    Text url;
    Text host; // lowercased, without port
    int port = 80;
    Text path; // starts with "/", query included
    bool secure = false;
    // Agent of the session; the platform sends it unless the header block has a User-Agent line.
    Text userAgent;
    // Header lines joined by CR LF, sent as they stand. For the request object, one
    // "Name: value" line per header it is told, in that order.
    Text headerBlock;
    Bytes body;
    bool followRedirects = true;
    Text proxy; // host:port; empty means a direct connection
    bool socksProxy = false;
    // Credentials are given only together with a proxy; target 1 means the proxy, 0 the server.
    Text proxyUser;
    Text proxyPassword;
    int credentialsTarget = 1;
    // Off when the caller supplies its own cookies: the platform's store is neither read nor written.
    bool useCookieStore = true;
    // Applies to each phase (resolve, connect, send, receive); empty keeps the platform defaults.
    std::optional<int> timeoutMs;
    // The whole exchange, connecting and every redirect included, ends within this.
    int deadlineMs = kRequestDeadlineMs;
};

struct HttpResponse {
    // False when the platform could not set the exchange up at all (session, connection or
    // request object); the clients then leave every output untouched.
    bool opened = false;
    int status = 0;
    // The reply's header block in the platform's own format.
    Text headerBlock;
    Bytes body;
    HttpFailure failure = HttpFailure::None;
};

class HttpTransport {
public:
    HttpTransport() = default;
    HttpTransport(const HttpTransport&) = delete;
    HttpTransport& operator=(const HttpTransport&) = delete;
    virtual ~HttpTransport() = default;

    // Blocks until the reply is complete, failed or timed out, never past the request's
    // deadline. Failures after setting up show as an empty or short body, status 0 and the
    // failure.
    [[nodiscard]] virtual HttpResponse Exchange(const HttpRequest& request) = 0;
};

// Platform transports, defined by the backend. The first carries WebRequest, the second
// ComWebRequest; a transport kept by a caller keeps its connection state between calls.
[[nodiscard]] std::unique_ptr<HttpTransport> MakeWebRequestTransport();
[[nodiscard]] std::unique_ptr<HttpTransport> MakeComTransport();

} // namespace tovrik::net
