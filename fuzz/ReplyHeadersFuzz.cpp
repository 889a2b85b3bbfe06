// What both clients make of a reply: a transport that answers with fuzzed header blocks and
// bodies, the caller's cookies and headers fuzzed as well. No crash, and the outputs the
// caller asked for carry what the reply said.
#include "FuzzParts.h"
#include "net/ComWebRequest.h"
#include "net/HttpTransport.h"
#include "net/WebRequest.h"

#include <cstddef>
#include <cstdint>

namespace {

using tovrik::Bytes;
using tovrik::Text;
using tovrik::TextView;
using namespace tovrik::net;

class ScriptedTransport final : public HttpTransport {
public:
    ScriptedTransport(TextView headers, TextView body, int status) : m_headers(headers), m_body(body), m_status(status) {}

    HttpResponse Exchange(const HttpRequest& request) override {
        (void)request;
        return {.opened = true, .status = m_status, .headerBlock = Text(m_headers), .body = Bytes(m_body)};
    }

private:
    TextView m_headers;
    TextView m_body;
    int m_status;
};

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = tovrik::fuzz::SplitInput(data, size, 5);
    const TextView replyHeaders = parts[0];
    const TextView body = parts[1];
    const TextView url = parts[3];
    const int flags = size == 0 ? 0 : data[0];
    ScriptedTransport transport(replyHeaders, body, flags);

    Text cookies(parts[2]);
    Text received;
    Text headersOut;
    const Bytes first = WebRequest(transport, url,
                                   {.method = flags % 9,
                                    .postText = body,
                                    .sendCookiesInOut = (flags & 1) != 0 ? &cookies : nullptr,
                                    .receivedCookiesOut = &received,
                                    .extraHeaders = parts[4],
                                    .responseHeadersOut = &headersOut,
                                    .mergeCookies = (flags & 2) != 0,
                                    .completeHeaders = (flags & 4) != 0,
                                    .normalizeHeaderNames = (flags & 8) != 0});
    Check(first == body && headersOut == replyHeaders);

    Text comCookies(parts[2]);
    Text comReceived;
    Text comHeaders;
    int status = -1;
    const Bytes second = ComWebRequest(url, {.method = flags % 9,
                                             .postText = body,
                                             .sendCookiesInOut = (flags & 16) != 0 ? &comCookies : nullptr,
                                             .receivedCookiesOut = &comReceived,
                                             .extraHeaders = parts[4],
                                             .responseHeadersOut = &comHeaders,
                                             .statusCodeOut = &status,
                                             .requestObject = &transport,
                                             .mergeCookies = (flags & 32) != 0,
                                             .completeHeaders = (flags & 64) != 0,
                                             .normalizeHeaderNames = (flags & 128) != 0});
    Check(second == body && comHeaders == replyHeaders && status == flags);
    return 0;
}
