#pragma once

#include "LoopbackSocket.h"
#include "text/Types.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace tovrik::testutil {

// One request exactly as it arrived.
struct RecordedRequest {
    Text requestLine; // "GET /path?query HTTP/1.1"
    Text method;
    Text target;
    std::vector<Text> headerLines; // in arrival order, without CR LF
    Bytes body;
    bool viaSocks = false;      // came through a SOCKS4 handshake on the same connection
    std::size_t connection = 0; // 1 for the first connection the server accepted, and so on

    // The first value of that header (name compared case-insensitively), without the spaces
    // around it.
    [[nodiscard]] std::optional<Text> Header(TextView name) const;
    [[nodiscard]] std::size_t HeaderCount(TextView name) const;
};

struct CannedReply {
    int status = 200;
    Text reason = "OK";
    std::vector<Text> headerLines; // "Name: value", without CR LF
    Bytes body;
    // Bytes streamed after the body, generated on the fly and never held in memory.
    std::uint64_t fillerBytes = 0;
    // Without a Content-Length the body ends when the server closes the connection.
    bool announceLength = true;
    int delayMs = 0; // before the status line goes out
    // Above 0: body and filler go out one byte at a time, this many bytes a second.
    int trickleBytesPerSecond = 0;

    [[nodiscard]] static CannedReply Redirect(int status, TextView location);
};

// An HTTP/1.1 server on 127.0.0.1 and an ephemeral port, one thread per connection, that
// records every request and answers with what the handler returns. It also serves as a plain
// HTTP proxy (absolute request targets are recorded as they come) and as a SOCKS4 proxy to
// itself.
class HttpTestServer {
public:
    using Handler = std::function<CannedReply(const RecordedRequest&)>;

    explicit HttpTestServer(Handler handler = {});
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;
    ~HttpTestServer();

    void SetHandler(Handler handler);
    // The same reply to every request.
    void SetReply(CannedReply reply);

    [[nodiscard]] int Port() const { return m_port; }
    [[nodiscard]] Text Address() const; // "127.0.0.1:port"
    [[nodiscard]] Text Url(TextView pathAndQuery = "/") const;

    [[nodiscard]] std::vector<RecordedRequest> Requests() const;
    [[nodiscard]] std::size_t RequestCount() const;
    [[nodiscard]] RecordedRequest LastRequest() const;
    // Body and filler bytes handed to the network so far, over all replies.
    [[nodiscard]] std::uint64_t BodyBytesSent() const { return m_bodyBytesSent.load(); }

private:
    void AcceptLoop();
    void Serve(const LoopbackSocket& socket, std::size_t connection);
    bool Fill(const LoopbackSocket& socket, Text& pending, std::size_t wanted);
    bool SkipSocksHandshake(const LoopbackSocket& socket, Text& pending);
    bool Answer(const LoopbackSocket& socket, const RecordedRequest& request, const CannedReply& reply);
    bool Trickle(const LoopbackSocket& socket, TextView bytes, std::uint64_t fillerBytes, int bytesPerSecond);
    // False when the server is stopping.
    bool Pause(int ms);
    [[nodiscard]] bool Stopping() const { return m_stop.load(); }

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::atomic<bool> m_stop{false};
    std::atomic<std::uint64_t> m_bodyBytesSent{0};
    Handler m_handler;
    std::vector<RecordedRequest> m_requests;
    std::vector<std::thread> m_connections;
    LoopbackSocket m_listener;
    int m_port = 0;
    std::thread m_acceptor;
};

} // namespace tovrik::testutil
