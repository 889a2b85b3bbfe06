#include "HttpTestServer.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace tovrik::testutil {

namespace {

constexpr int kPollMs = 50;
constexpr int kSendIdleMs = 2000;
constexpr std::size_t kReadChunk = 64 * 1024;
constexpr TextView kHeadEnd = "\r\n\r\n";
constexpr char kSocks4Version = 4;
constexpr std::size_t kSocks4FixedPart = 8;

bool SameName(TextView a, TextView b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
               return lower(x) == lower(y);
           });
}

TextView Strip(TextView text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

TextView NameOf(TextView line) {
    return Strip(line.substr(0, line.find(':')));
}

RecordedRequest ParseHead(TextView head) {
    RecordedRequest request;
    std::size_t from = 0;
    bool first = true;
    while (from <= head.size()) {
        std::size_t end = head.find("\r\n", from);
        if (end == TextView::npos) {
            end = head.size();
        }
        const TextView line = head.substr(from, end - from);
        if (first) {
            request.requestLine = Text(line);
            first = false;
        } else {
            request.headerLines.emplace_back(line);
        }
        from = end + 2;
    }
    const std::size_t space = request.requestLine.find(' ');
    request.method = request.requestLine.substr(0, space);
    if (space != Text::npos) {
        const std::size_t targetEnd = request.requestLine.find(' ', space + 1);
        request.target =
            request.requestLine.substr(space + 1, targetEnd == Text::npos ? Text::npos : targetEnd - space - 1);
    }
    return request;
}

std::size_t ContentLength(const RecordedRequest& request) {
    const std::optional<Text> value = request.Header("Content-Length");
    std::size_t length = 0;
    if (value) {
        std::from_chars(value->data(), value->data() + value->size(), length);
    }
    return length;
}

} // namespace

std::optional<Text> RecordedRequest::Header(TextView name) const {
    for (const Text& line : headerLines) {
        const std::size_t colon = line.find(':');
        if (colon != Text::npos && SameName(NameOf(line), name)) {
            return Text(Strip(TextView(line).substr(colon + 1)));
        }
    }
    return std::nullopt;
}

std::size_t RecordedRequest::HeaderCount(TextView name) const {
    return static_cast<std::size_t>(std::count_if(headerLines.begin(), headerLines.end(), [name](const Text& line) {
        return line.find(':') != Text::npos && SameName(NameOf(line), name);
    }));
}

CannedReply CannedReply::Redirect(int status, TextView location) {
    CannedReply reply;
    reply.status = status;
    reply.reason = "Moved";
    reply.headerLines.push_back("Location: " + Text(location));
    return reply;
}

HttpTestServer::HttpTestServer(Handler handler) : m_handler(std::move(handler)), m_listener(LoopbackSocket::Listen()) {
    if (m_listener) {
        m_port = m_listener.LocalPort();
        m_acceptor = std::thread([this] { AcceptLoop(); });
    }
}

HttpTestServer::~HttpTestServer() {
    m_stop = true;
    m_wake.notify_all();
    if (m_acceptor.joinable()) {
        m_acceptor.join();
    }
    std::vector<std::thread> connections;
    {
        const std::lock_guard lock(m_mutex);
        connections.swap(m_connections);
    }
    for (std::thread& connection : connections) {
        connection.join();
    }
}

void HttpTestServer::SetHandler(Handler handler) {
    const std::lock_guard lock(m_mutex);
    m_handler = std::move(handler);
}

void HttpTestServer::SetReply(CannedReply reply) {
    SetHandler([reply = std::move(reply)](const RecordedRequest&) { return reply; });
}

Text HttpTestServer::Address() const {
    return "127.0.0.1:" + std::to_string(m_port);
}

Text HttpTestServer::Url(TextView pathAndQuery) const {
    return "http://" + Address() + Text(pathAndQuery);
}

std::vector<RecordedRequest> HttpTestServer::Requests() const {
    const std::lock_guard lock(m_mutex);
    return m_requests;
}

std::size_t HttpTestServer::RequestCount() const {
    const std::lock_guard lock(m_mutex);
    return m_requests.size();
}

RecordedRequest HttpTestServer::LastRequest() const {
    const std::lock_guard lock(m_mutex);
    return m_requests.empty() ? RecordedRequest{} : m_requests.back();
}

void HttpTestServer::AcceptLoop() {
    while (!Stopping()) {
        LoopbackSocket accepted = m_listener.Accept(kPollMs);
        if (!accepted) {
            continue;
        }
        accepted.SetNoDelay();
        const std::lock_guard lock(m_mutex);
        const std::size_t connection = m_connections.size() + 1;
        m_connections.emplace_back([this, connection, socket = std::move(accepted)] { Serve(socket, connection); });
    }
}

bool HttpTestServer::Fill(const LoopbackSocket& socket, Text& pending, std::size_t wanted) {
    std::string chunk(kReadChunk, '\0');
    while (pending.size() < wanted) {
        if (Stopping()) {
            return false;
        }
        const long received = socket.Receive(chunk.data(), chunk.size(), kPollMs);
        if (received == LoopbackSocket::kTimedOut) {
            continue;
        }
        if (received <= 0) {
            return false;
        }
        pending.append(chunk.data(), static_cast<std::size_t>(received));
    }
    return true;
}

// SOCKS4 (and 4a): version, command, port, address, user id up to a zero byte, and for 4a a
// host name up to another zero byte. Every connection is granted and served here.
bool HttpTestServer::SkipSocksHandshake(const LoopbackSocket& socket, Text& pending) {
    if (!Fill(socket, pending, kSocks4FixedPart)) {
        return false;
    }
    const bool withHostName = pending[4] == 0 && pending[5] == 0 && pending[6] == 0 && pending[7] != 0;
    std::size_t end = kSocks4FixedPart;
    for (int field = 0; field < (withHostName ? 2 : 1); ++field) {
        while (pending.find('\0', end) == Text::npos) {
            if (!Fill(socket, pending, pending.size() + 1)) {
                return false;
            }
        }
        end = pending.find('\0', end) + 1;
    }
    Text granted("\0\x5A", 2);
    granted.append(pending, 2, 6);
    pending.erase(0, end);
    return socket.SendAll(granted, kSendIdleMs);
}

void HttpTestServer::Serve(const LoopbackSocket& socket, std::size_t connection) {
    Text pending;
    if (!Fill(socket, pending, 1)) {
        return;
    }
    const bool viaSocks = pending.front() == kSocks4Version;
    if (viaSocks && !SkipSocksHandshake(socket, pending)) {
        return;
    }
    while (!Stopping()) {
        std::size_t headEnd = pending.find(kHeadEnd);
        while (headEnd == Text::npos) {
            if (!Fill(socket, pending, pending.size() + 1)) {
                return;
            }
            headEnd = pending.find(kHeadEnd);
        }
        RecordedRequest request = ParseHead(TextView(pending).substr(0, headEnd));
        request.viaSocks = viaSocks;
        request.connection = connection;
        pending.erase(0, headEnd + kHeadEnd.size());

        const std::size_t length = ContentLength(request);
        const std::optional<Text> expect = request.Header("Expect");
        if (expect && SameName(*expect, "100-continue") && pending.size() < length &&
            !socket.SendAll("HTTP/1.1 100 Continue\r\n\r\n", kSendIdleMs)) {
            return;
        }
        if (!Fill(socket, pending, length)) {
            return;
        }
        request.body = pending.substr(0, length);
        pending.erase(0, length);

        Handler handler;
        {
            const std::lock_guard lock(m_mutex);
            m_requests.push_back(request);
            handler = m_handler;
        }
        const CannedReply reply = handler ? handler(request) : CannedReply{};
        const std::optional<Text> persistence = request.Header("Connection");
        if (!Answer(socket, request, reply) || !reply.announceLength ||
            (persistence && SameName(*persistence, "close"))) {
            socket.Shutdown();
            return;
        }
    }
}

bool HttpTestServer::Answer(const LoopbackSocket& socket, const RecordedRequest& request, const CannedReply& reply) {
    if (reply.delayMs > 0 && !Pause(reply.delayMs)) {
        return false;
    }
    Text head = "HTTP/1.1 " + std::to_string(reply.status) + " " + reply.reason + "\r\n";
    bool hasLength = false;
    for (const Text& line : reply.headerLines) {
        head += line + "\r\n";
        hasLength = hasLength || SameName(NameOf(line), "Content-Length");
    }
    if (!reply.announceLength) {
        head += "Connection: close\r\n";
    } else if (!hasLength) {
        head += "Content-Length: " + std::to_string(reply.body.size() + reply.fillerBytes) + "\r\n";
    }
    head += "\r\n";
    if (!socket.SendAll(head, kSendIdleMs)) {
        return false;
    }
    if (request.method == "HEAD") {
        return true;
    }
    if (reply.trickleBytesPerSecond > 0) {
        return Trickle(socket, reply.body, reply.fillerBytes, reply.trickleBytesPerSecond);
    }
    if (!socket.SendAll(reply.body, kSendIdleMs)) {
        return false;
    }
    m_bodyBytesSent += reply.body.size();
    const std::string filler(kReadChunk, 'x');
    for (std::uint64_t left = reply.fillerBytes; left > 0;) {
        const std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(left, filler.size()));
        if (Stopping() || !socket.SendAll(TextView(filler).substr(0, piece), kSendIdleMs)) {
            return false;
        }
        m_bodyBytesSent += piece;
        left -= piece;
    }
    return true;
}

bool HttpTestServer::Pause(int ms) {
    std::unique_lock lock(m_mutex);
    return !m_wake.wait_for(lock, std::chrono::milliseconds(ms), [this] { return Stopping(); });
}

// Ends when everything is out, when the client has gone away or when the server stops.
bool HttpTestServer::Trickle(const LoopbackSocket& socket, TextView bytes, std::uint64_t fillerBytes,
                             int bytesPerSecond) {
    const int gapMs = std::max(1, 1000 / bytesPerSecond);
    for (std::uint64_t i = 0; i < bytes.size() + fillerBytes; ++i) {
        const char byte = i < bytes.size() ? bytes[static_cast<std::size_t>(i)] : 'x';
        if (!socket.SendAll(TextView(&byte, 1), kSendIdleMs)) {
            return false;
        }
        ++m_bodyBytesSent;
        if (!Pause(gapMs)) {
            return false;
        }
    }
    return true;
}

} // namespace tovrik::testutil
