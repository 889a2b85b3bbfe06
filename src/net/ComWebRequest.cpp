#include "net/ComWebRequest.h"

#include "net/HttpTransport.h"
#include "net/RequestShaping.h"
#include "net/UrlParts.h"
#include "text/Encoding.h"
#include "text/HeaderText.h"
#include "text/Trim.h"

#include <climits>
#include <memory>
#include <optional>

namespace tovrik::net {

namespace {

constexpr int kDefaultTimeoutMs = 15000;
constexpr int kPlatformTimeouts = -1;
constexpr int kCredentialsForProxy = 1;

std::optional<int> TimeoutMs(int seconds) {
    if (seconds == kPlatformTimeouts) {
        return std::nullopt;
    }
    if (seconds < 1) {
        return kDefaultTimeoutMs;
    }
    return seconds > INT_MAX / 1000 ? INT_MAX : seconds * 1000;
}

void CompleteHeaders(Text& block, TextView url, int method) {
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
    if (!ContainsNoCase(block, "User-Agent:")) {
        block += "\r\nUser-Agent: ";
        block += kDefaultUserAgent;
    }
    if (method == kMethodPost && !ContainsNoCase(block, "Content-Type:")) {
        block += "\r\nContent-Type: ";
        block += kFormContentType;
    }
}

// One request header as the object is told it: "Name: value", in the order of the calls. A
// nameless field cannot be set and is left out; the object trims values itself.
void AddField(Text& fields, TextView name, TextView value) {
    if (name.empty()) {
        return;
    }
    if (!fields.empty()) {
        fields += "\r\n";
    }
    fields += name;
    fields += ": ";
    fields += text::Trim(value);
}

void AddBlockFields(Text& fields, TextView block) {
    if (block.find("\r\n") == TextView::npos) {
        AddField(fields, text::HeaderName(block), text::HeaderValue(block));
        return;
    }
    for (const Text& line : SplitLines(block)) {
        const Text name = text::HeaderName(line);
        const Text value = text::HeaderValue(line);
        // Keep-alive is what HTTP/1.1 does anyway; other Connection values are passed on.
        if (line.empty() || (name == "Connection" && value == "keep-alive")) {
            continue;
        }
        AddField(fields, name, value);
    }
}

HttpRequest ShapeRequest(TextView url, const ComWebRequestArgs& args, const Text* sendCookies) {
    HttpRequest request;
    const int method = ClampMethod(args.method);
    request.verb = MethodVerb(method);
    request.url = Text(url);
    request.secure = StartsWithNoCase(url, "https://");
    request.host = UrlHost(url);
    request.port = UrlPort(url);
    request.path = UrlPath(url);
    request.timeoutMs = TimeoutMs(args.timeoutSeconds);
    request.deadlineMs = BoundedDeadlineMs(args.deadlineMs);
    request.proxy = Text(args.proxy);
    request.followRedirects = !args.noRedirect;

    Text block(args.extraHeaders);
    if (args.completeHeaders) {
        CompleteHeaders(block, url, method);
    }
    if (args.normalizeHeaderNames) {
        block = text::NormalizeHeaderNames(block);
    }

    Text fields;
    if (!args.proxy.empty() && !args.proxyUser.empty()) {
        request.proxyUser = Text(args.proxyUser);
        request.proxyPassword = Text(args.proxyPassword);
        request.credentialsTarget = args.credentialsTarget;
        if (args.credentialsTarget == kCredentialsForProxy) {
            const Text pair = request.proxyUser + ":" + request.proxyPassword;
            AddField(fields, "Proxy-Authorization", "Basic " + text::Base64Encode(pair));
        }
    }
    if (sendCookies != nullptr) {
        AddField(fields, "Cookie", *sendCookies);
    }
    AddBlockFields(fields, block);
    request.headerBlock = std::move(fields);

    request.body = args.postBytes.empty() ? Bytes(args.postText) : Bytes(args.postBytes);
    return request;
}

} // namespace

Bytes ComWebRequest(TextView url, const ComWebRequestArgs& args) {
    std::unique_ptr<HttpTransport> created;
    HttpTransport* transport = args.requestObject;
    if (transport == nullptr) {
        created = MakeComTransport();
        transport = created.get();
    }

    std::optional<Text> sendCookies;
    if (args.sendCookiesInOut != nullptr) {
        sendCookies = *args.sendCookiesInOut;
        if (!sendCookies->empty() && ContainsNoCase(*sendCookies, "Cookie:")) {
            sendCookies = RemoveAllNoCase(*sendCookies, "Cookie:");
        }
    }

    HttpResponse response = transport->Exchange(ShapeRequest(url, args, sendCookies ? &*sendCookies : nullptr));
    if (args.failureOut != nullptr) {
        *args.failureOut = response.opened ? response.failure : HttpFailure::NoAnswer;
    }
    if (!response.opened) {
        return {};
    }
    if (args.responseHeadersOut != nullptr) {
        *args.responseHeadersOut = response.headerBlock;
    }
    if (args.statusCodeOut != nullptr) {
        *args.statusCodeOut = response.status;
    }
    Text received = ReceivedCookies(response.headerBlock);
    if (sendCookies) {
        if (args.mergeCookies) {
            received = text::MergeCookies(*sendCookies, received);
        }
        *args.sendCookiesInOut = std::move(*sendCookies);
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
