#pragma once

#include "Reply.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

namespace tovrik::standin {

class OcrService;
class SpeechService;
class TokenService;
class TranslationService;

struct StandinServices {
    TokenService& tokens;
    OcrService& ocr;
    TranslationService& translation;
    SpeechService& speech;
};

// The HTTP side: routes the services' paths to the services, on 127.0.0.1 only.
class StandinServer {
public:
    StandinServer(StandinServices services, std::size_t maxBodyBytes, std::chrono::seconds timeout);
    ~StandinServer();
    StandinServer(const StandinServer&) = delete;
    StandinServer& operator=(const StandinServer&) = delete;

    // The port now bound (a free one for 0), or -1.
    [[nodiscard]] int Bind(int port);
    // Serves until Stop; false when serving could not start.
    [[nodiscard]] bool Run();
    void Stop();

private:
    // The raw query string and the body.
    using Handler = std::function<Reply(std::string_view query, const std::string& body)>;

    void AddPost(const std::string& path, Handler handler);
    void AddGet(const std::string& path, Handler handler);

    std::size_t m_maxBodyBytes;
    std::unique_ptr<httplib::Server> m_server;
};

} // namespace tovrik::standin
