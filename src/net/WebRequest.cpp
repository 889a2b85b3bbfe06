#include "net/WebRequest.h"

#include "net/HttpTransport.h"
#include "net/RequestShaping.h"
#include "net/UrlParts.h"
#include "text/HeaderText.h"
#include "text/Trim.h"

#include <string>

namespace tovrik::net {

namespace {

// The platform's defaults leave some phases without a limit; a stalled server must not hang
// the user-interface thread for ever.
constexpr int kTimeoutMs = 30000;
constexpr TextView kUserAgentMarker = "User-Agent:";

// The caller's User-Agent line also names the agent of the session. Only that line's value
// counts, so no other header (and no line break) can end up in the agent.
Text SessionAgent(TextView block) {
    const std::size_t at = FindNoCase(block, kUserAgentMarker);
    if (at == TextView::npos) {
        return Text(kDefaultUserAgent);
    }
    const std::size_t valueStart = at + kUserAgentMarker.size();
    const std::size_t valueEnd = block.find("\r\n", valueStart);
    Text agent =
        text::Trim(block.substr(valueStart, valueEnd == TextView::npos ? TextView::npos : valueEnd - valueStart));
    return agent.empty() ? Text(kDefaultUserAgent) : agent;
}

void CompleteHeaders(Text& block, TextView url, int method) {
    if (block.empty()) {
        block = "Accept: */*";
    }
    if (!ContainsNoCase(block, "Accept:")) {
        block += "\r\nAccept: */*";
    }
    if (!ContainsNoCase(block, "Referer:")) {
        block += "\r\nReferer: ";
        block += url;
    }
    if (!ContainsNoCase(block, "Accept-Language:")) {
        block += "\r\nAccept-Language: zh-cn";
    }
    if (method == kMethodPost && !ContainsNoCase(block, "Content-Type:")) {
        block += "\r\nContent-Type: ";
        block += kFormContentType;
    }
}

void AppendCookieLine(Text& block, const Text& sendCookies) {
    if (sendCookies.empty()) {
        return;
    }
    block += sendCookies.find("Cookie:") != Text::npos ? "\r\n" : "\r\nCookie: ";
    block += sendCookies;
}

HttpRequest ShapeRequest(TextView url, const WebRequestArgs& args) {
    HttpRequest request;
    Text block(args.extraHeaders);
    if (args.normalizeHeaderNames) {
        block = text::NormalizeHeaderNames(block);
    }
    const int method = ClampMethod(args.method);
    request.verb = MethodVerb(method);
    request.secure = StartsWithNoCase(url, "https://");
    request.userAgent = SessionAgent(block);
    request.host = UrlHost(url);
    request.port = UrlPort(url);
    request.path = UrlPath(url);
    request.url =
        (request.secure ? "https://" : "http://") + request.host + ":" + std::to_string(request.port) + request.path;
    request.proxy = Text(args.proxy);
    request.socksProxy = args.socksProxy;
    request.useCookieStore = args.sendCookiesInOut == nullptr;
    request.followRedirects = !args.noRedirect;
    request.timeoutMs = kTimeoutMs;
    request.deadlineMs = BoundedDeadlineMs(args.deadlineMs);

    if (args.completeHeaders) {
        CompleteHeaders(block, url, method);
    }
    if (args.sendCookiesInOut != nullptr) {
        AppendCookieLine(block, *args.sendCookiesInOut);
    }
    request.headerBlock = std::move(block);

    if (method != 0) {
        const bool bytesGiven = args.postBytesInOut != nullptr && !args.postBytesInOut->empty();
        request.body = bytesGiven ? *args.postBytesInOut : Bytes(args.postText);
    }
    return request;
}

} // namespace

Bytes WebRequest(TextView url, const WebRequestArgs& args) {
    const std::unique_ptr<HttpTransport> transport = MakeWebRequestTransport();
    return WebRequest(*transport, url, args);
}

Bytes WebRequest(HttpTransport& transport, TextView url, const WebRequestArgs& args) {
    const HttpRequest request = ShapeRequest(url, args);
    HttpResponse response = transport.Exchange(request);
    if (args.failureOut != nullptr) {
        *args.failureOut = response.opened ? response.failure : HttpFailure::NoAnswer;
    }
    if (!response.opened) {
        return {};
    }
    if (args.postBytesInOut != nullptr && request.verb != "GET" && args.postBytesInOut->empty()) {
        *args.postBytesInOut = request.body;
    }
    if (args.responseHeadersOut != nullptr) {
        *args.responseHeadersOut = response.headerBlock;
    }
    Text received = ReceivedCookies(response.headerBlock);
    if (args.mergeCookies && args.sendCookiesInOut != nullptr) {
        received = text::MergeCookies(*args.sendCookiesInOut, received);
    }
    if (args.receivedCookiesOut != nullptr) {
        *args.receivedCookiesOut = std::move(received);
    }
    if (response.body.size() > kMaxBodyBytes) {
        if (args.failureOut != nullptr) {
            *args.failureOut = HttpFailure::TooLarge;
        }
        return {};
    }
    return std::move(response.body);
}

} // namespace tovrik::net
