#include "OcrService.h"

#include "Base64.h"
#include "Json.h"
#include "OcrEngine.h"
#include "TokenService.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace tovrik::standin {

namespace {

// The service's own limit on the decoded picture.
constexpr size_t kMaxImageBytes = 10 * 1024 * 1024;

// A data URL ("data:image/jpeg;base64,....") carries the Base64 text after its first comma.
std::string_view Base64Part(std::string_view image) {
    if (image.starts_with("data:")) {
        const size_t comma = image.find(',');
        return comma == std::string_view::npos ? std::string_view() : image.substr(comma + 1);
    }
    return image;
}

// Recognitions take turns, so while one runs the process's CPU time is nearly all its own: a
// figure that, unlike the elapsed time, does not grow when other programs share the machine.
double ProcessCpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

} // namespace

OcrService::OcrService(OcrEngine& engine, TokenService& tokens)
    : m_engine(engine), m_tokens(tokens), m_logId(static_cast<std::uint64_t>(std::time(nullptr)) * 1000) {}

Reply OcrService::Error(int code, std::string_view message) {
    return Reply::Json(200, "{\"error_code\":" + std::to_string(code) + ",\"error_msg\":" + JsonQuote(message) +
                                ",\"log_id\":" + std::to_string(++m_logId) + "}");
}

Reply OcrService::Recognize(const FormFields& query, const FormFields& form, bool withLocation) {
    switch (m_tokens.Check(query.Value("access_token"))) {
    case TokenState::Valid:
        break;
    case TokenState::Unknown:
        return Error(110, "Access token invalid or no longer valid");
    case TokenState::Expired:
        return Error(111, "Access token expired");
    }
    const std::optional<std::string> image = form.Get("image");
    if (!image) {
        return Error(216101, "not enough param");
    }
    if (image->empty()) {
        return Error(216200, "empty image");
    }
    const std::optional<std::string> bytes = Base64Decode(Base64Part(*image));
    if (!bytes || bytes->empty()) {
        return Error(216201, "image format error");
    }
    if (bytes->size() > kMaxImageBytes) {
        return Error(216202, "image size error");
    }
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ProcessCpuMilliseconds();
    const OcrResult result = m_engine.Recognize(*bytes);
    const double cpu = ProcessCpuMilliseconds() - cpuStart;
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    if (result.status == OcrStatus::BadImage) {
        return Error(216201, "image format error");
    }
    if (result.status == OcrStatus::TooLarge) {
        return Error(216202, "image size error");
    }
    std::string items;
    for (const OcrLine& line : result.lines) {
        items += items.empty() ? "{" : ",{";
        if (withLocation) {
            items += "\"location\":{\"top\":" + std::to_string(line.top) + ",\"left\":" + std::to_string(line.left) +
                     ",\"width\":" + std::to_string(line.width) + ",\"height\":" + std::to_string(line.height) + "},";
        }
        items += "\"words\":" + JsonQuote(line.words) + "}";
    }
    char timing[64];
    std::snprintf(timing, sizeof timing, "ocr;dur=%.1f, cpu;dur=%.1f", spent.count(), cpu);
    Reply reply = Reply::Json(200, "{\"words_result\":[" + items +
                                       "],\"words_result_num\":" + std::to_string(result.lines.size()) +
                                       ",\"log_id\":" + std::to_string(++m_logId) + "}");
    reply.serverTiming = timing;
    return reply;
}

} // namespace tovrik::standin
