// Round trip of a 1 MB form POST on loopback through both clients and the platform transport.
#include "net/ComWebRequest.h"
#include "net/HttpTransport.h"
#include "net/WebRequest.h"

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

namespace {

using tovrik::Bytes;
using tovrik::Text;

constexpr int kPollMs = 50;
constexpr std::size_t kFormBytes = 1024 * 1024;

// A minimal HTTP/1.1 sink: reads each request with its Content-Length body and answers "ok".
// Connections are served one after another, which is all a single client needs.
class SinkServer {
public:
    SinkServer() : m_listener(socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(m_listener, 8) != 0 ||
            getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            std::abort();
        }
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { Run(); });
    }
    SinkServer(const SinkServer&) = delete;
    SinkServer& operator=(const SinkServer&) = delete;
    ~SinkServer() {
        m_stop = true;
        m_thread.join();
        close(m_listener);
    }

    [[nodiscard]] Text Url() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/form"; }

private:
    bool Wait(int socket) const {
        pollfd entry{socket, POLLIN, 0};
        while (!m_stop) {
            if (poll(&entry, 1, kPollMs) > 0) {
                return true;
            }
        }
        return false;
    }

    void Run() {
        while (Wait(m_listener)) {
            const int connection = accept(m_listener, nullptr, nullptr);
            const int on = 1;
            setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            Serve(connection);
            close(connection);
        }
    }

    void Serve(int connection) const {
        std::string pending;
        std::string chunk(256 * 1024, '\0');
        for (;;) {
            std::size_t headEnd = pending.find("\r\n\r\n");
            std::size_t wanted = std::string::npos;
            if (headEnd != std::string::npos) {
                const std::size_t field = pending.find("Content-Length: ");
                const std::size_t length =
                    field < headEnd ? std::strtoull(pending.c_str() + field + 16, nullptr, 10) : 0;
                wanted = headEnd + 4 + length;
            }
            if (wanted != std::string::npos && pending.size() >= wanted) {
                pending.erase(0, wanted);
                static constexpr char kReply[] = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok";
                if (send(connection, kReply, sizeof kReply - 1, MSG_NOSIGNAL) < 0) {
                    return;
                }
                continue;
            }
            if (!Wait(connection)) {
                return;
            }
            const ssize_t received = recv(connection, chunk.data(), chunk.size(), 0);
            if (received <= 0) {
                return;
            }
            pending.append(chunk.data(), static_cast<std::size_t>(received));
        }
    }

    int m_listener;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

Text FormBody() {
    return "image=" + Text(kFormBytes - 6, 'A');
}

void WebRequestFormPost(benchmark::State& state) {
    const SinkServer server;
    const Text url = server.Url();
    const Text form = FormBody();
    for (auto _ : state) {
        const Bytes reply = tovrik::net::WebRequest(url, {.method = 1, .postText = form});
        if (reply != "ok") {
            state.SkipWithError("no reply");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * form.size()));
}

void ComWebRequestFormPost(benchmark::State& state) {
    const SinkServer server;
    const Text url = server.Url();
    const Text form = FormBody();
    const std::unique_ptr<tovrik::net::HttpTransport> object = tovrik::net::MakeComTransport();
    for (auto _ : state) {
        const Bytes reply =
            tovrik::net::ComWebRequest(url, {.method = 1, .postText = form, .requestObject = object.get()});
        if (reply != "ok") {
            state.SkipWithError("no reply");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * form.size()));
}

} // namespace

BENCHMARK(WebRequestFormPost)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(ComWebRequestFormPost)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
