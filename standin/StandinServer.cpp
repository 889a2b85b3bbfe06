#include "StandinServer.h"

#include "OcrService.h"
#include "SpeechService.h"
#include "TokenService.h"
#include "TranslationService.h"

#include <httplib.h>

#include <cstdio>

namespace tovrik::standin {

namespace {

constexpr const char* kHost = "127.0.0.1";
constexpr time_t kKeepAliveSeconds = 5;
constexpr size_t kKeepAliveRequests = 100;

std::string_view RawQuery(const httplib::Request& request) {
    const size_t mark = request.target.find('?');
    return mark == std::string::npos ? std::string_view() : std::string_view(request.target).substr(mark + 1);
}

// The body's pairs first, then the query's: clients may send the grant or the translation
// fields either way.
FormFields BodyAndQuery(const std::string& body, std::string_view query) {
    return FormFields::Parse(body + "&" + std::string(query));
}

void Send(const Reply& reply, httplib::Response& response) {
    response.status = reply.status;
    response.set_content(reply.body, reply.contentType);
    if (!reply.serverTiming.empty()) {
        response.set_header("Server-Timing", reply.serverTiming);
    }
}

} // namespace

StandinServer::StandinServer(StandinServices services, std::size_t maxBodyBytes, std::chrono::seconds timeout)
    : m_maxBodyBytes(maxBodyBytes), m_server(std::make_unique<httplib::Server>()) {
    m_server->set_tcp_nodelay(true);
    m_server->set_payload_max_length(maxBodyBytes);
    m_server->set_read_timeout(timeout.count(), 0);
    m_server->set_write_timeout(timeout.count(), 0);
    m_server->set_keep_alive_timeout(kKeepAliveSeconds);
    m_server->set_keep_alive_max_count(kKeepAliveRequests);
    // Paths only: queries carry tokens and the texts of the user.
    m_server->set_logger([](const httplib::Request& request, const httplib::Response& response) {
        std::fprintf(stderr, "%s %s %d\n", request.method.c_str(), request.path.c_str(), response.status);
    });
    m_server->set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (response.status == 404) {
            response.set_content("{\"error_code\":3,\"error_msg\":\"Unsupported openapi method\"}",
                                 "application/json;charset=utf-8");
        }
    });

    TokenService& tokens = services.tokens;
    OcrService& ocr = services.ocr;
    TranslationService& translation = services.translation;
    SpeechService& speech = services.speech;
    const Handler token = [&tokens](std::string_view query, const std::string& body) {
        return tokens.Issue(BodyAndQuery(body, query));
    };
    AddPost("/oauth/2.0/token", token);
    AddGet("/oauth/2.0/token", token);
    AddPost("/rest/2.0/ocr/v1/general_basic", [&ocr](std::string_view query, const std::string& body) {
        return ocr.Recognize(FormFields::Parse(query), FormFields::Parse(body), false);
    });
    AddPost("/rest/2.0/ocr/v1/general", [&ocr](std::string_view query, const std::string& body) {
        return ocr.Recognize(FormFields::Parse(query), FormFields::Parse(body), true);
    });
    const Handler translate = [&translation](std::string_view query, const std::string& body) {
        return translation.Signed(BodyAndQuery(body, query));
    };
    AddPost("/api/trans/vip/translate", translate);
    AddGet("/api/trans/vip/translate", translate);
    AddGet("/translate", [&translation](std::string_view query, const std::string&) {
        return translation.PlainText(FormFields::Parse(query));
    });
    AddGet("/gettts",
           [&speech](std::string_view query, const std::string&) { return speech.Speak(FormFields::Parse(query)); });
}

StandinServer::~StandinServer() = default;

void StandinServer::AddPost(const std::string& path, Handler handler) {
    // Bodies are read through a content reader: the library's own form parsing refuses bodies
    // over 8 KB, and every picture is larger than that.
    m_server->Post(path, [this, handler](const httplib::Request& request, httplib::Response& response,
                                         const httplib::ContentReader& reader) {
        std::string body;
        const bool complete = reader([&](const char* data, size_t length) {
            body.append(data, length);
            return body.size() <= m_maxBodyBytes;
        });
        if (!complete) {
            response.status = 413;
            return;
        }
        Send(handler(RawQuery(request), body), response);
    });
}

void StandinServer::AddGet(const std::string& path, Handler handler) {
    m_server->Get(path, [handler](const httplib::Request& request, httplib::Response& response) {
        Send(handler(RawQuery(request), std::string()), response);
    });
}

int StandinServer::Bind(int port) {
    if (port == 0) {
        return m_server->bind_to_any_port(kHost);
    }
    return m_server->bind_to_port(kHost, port) ? port : -1;
}

bool StandinServer::Run() {
    return m_server->listen_after_bind();
}

void StandinServer::Stop() {
    m_server->stop();
}

} // namespace tovrik::standin
