#pragma once

#include <string>
#include <utility>

namespace tovrik::standin {

// What a service answers, before it goes out over HTTP.
struct Reply {
    int status = 200;
    std::string contentType;
    std::string body;
    // A Server-Timing header value ("ocr;dur=87.3, cpu;dur=80.1"): the engine's share of the
    // request, elapsed and in CPU time.
    std::string serverTiming;

    [[nodiscard]] static Reply Json(int status, std::string body) {
        return Of(status, "application/json;charset=utf-8", std::move(body));
    }
    [[nodiscard]] static Reply Of(int status, std::string contentType, std::string body) {
        Reply reply;
        reply.status = status;
        reply.contentType = std::move(contentType);
        reply.body = std::move(body);
        return reply;
    }
};

} // namespace tovrik::standin
