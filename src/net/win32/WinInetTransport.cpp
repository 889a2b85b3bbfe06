#include "net/win32/WinInetTransport.h"

#include "net/win32/InternetDeadline.h"

#include <windows.h>

#include <wininet.h>

#include <algorithm>
#include <vector>

namespace tovrik::net {

namespace {

constexpr DWORD kReadChunk = 64 * 1024;
// INTERNET_FLAG_NEED_FILE: the reply also goes to the cache file.
constexpr DWORD kNeedFile = 0x00000010;

Text ProxyName(const HttpRequest& request) {
    if (request.socksProxy) {
        return "SOCKS=" + request.proxy;
    }
    return request.secure ? request.proxy : "http=" + request.proxy;
}

HINTERNET OpenRoot(const HttpRequest& request) {
    if (request.proxy.empty()) {
        return InternetOpenA(request.userAgent.c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    }
    const Text proxyName = ProxyName(request);
    return InternetOpenA(request.userAgent.c_str(), INTERNET_OPEN_TYPE_PROXY, proxyName.c_str(), "", 0);
}

void SetTimeouts(HINTERNET root, const HttpRequest& request) {
    if (!request.timeoutMs) {
        return;
    }
    DWORD ms = static_cast<DWORD>(*request.timeoutMs);
    for (const DWORD option :
         {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        InternetSetOptionA(root, option, &ms, sizeof ms);
    }
}

DWORD RequestFlags(const HttpRequest& request) {
    DWORD flags = INTERNET_FLAG_RELOAD | kNeedFile;
    if (!request.useCookieStore) {
        flags |= INTERNET_FLAG_NO_COOKIES;
    }
    if (!request.followRedirects) {
        flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
    }
    flags |= request.secure ? INTERNET_FLAG_SECURE : INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
    return flags;
}

// Redirects between http and https are followed without asking. Certificate errors are NOT
// ignored: the requests carry the user's keys.
void AllowSchemeRedirects(HINTERNET request) {
    DWORD flags = 0;
    DWORD length = sizeof flags;
    if (!InternetQueryOptionA(request, INTERNET_OPTION_SECURITY_FLAGS, &flags, &length)) {
        flags = 0;
    }
    flags |= SECURITY_FLAG_IGNORE_REDIRECT_TO_HTTPS | SECURITY_FLAG_IGNORE_REDIRECT_TO_HTTP;
    InternetSetOptionA(request, INTERNET_OPTION_SECURITY_FLAGS, &flags, sizeof flags);
}

HttpFailure FailureOf(DWORD error, const InternetDeadline& deadline) {
    return error == ERROR_INTERNET_TIMEOUT || deadline.Passed() ? HttpFailure::TimedOut : HttpFailure::NoAnswer;
}

// Reading stops at the end, at an error, past the size limit or past the deadline; closing the
// handles then aborts whatever the server still sends. Only what has arrived is asked for: a
// synchronous read of a whole chunk would wait until the chunk is full, however slowly the
// server sends it.
HttpFailure ReadBody(HINTERNET request, const InternetDeadline& deadline, Bytes& bodyOut) {
    std::vector<char> chunk(kReadChunk);
    for (;;) {
        DWORD available = 0;
        if (!InternetQueryDataAvailable(request, &available, 0, 0)) {
            return FailureOf(GetLastError(), deadline);
        }
        if (available == 0) {
            return HttpFailure::None;
        }
        DWORD read = 0;
        if (!InternetReadFile(request, chunk.data(), std::min(available, kReadChunk), &read)) {
            return FailureOf(GetLastError(), deadline);
        }
        if (read == 0) {
            return HttpFailure::None;
        }
        if (bodyOut.size() + read > kMaxBodyBytes) {
            bodyOut.clear();
            return HttpFailure::TooLarge;
        }
        bodyOut.append(chunk.data(), read);
        if (deadline.Passed()) {
            return HttpFailure::TimedOut;
        }
    }
}

Text RawHeaders(HINTERNET request) {
    DWORD length = 0;
    HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, nullptr, &length, nullptr);
    if (length == 0) {
        return {};
    }
    Text block(length, '\0');
    if (!HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, block.data(), &length, nullptr)) {
        return {};
    }
    block.resize(length);
    return block;
}

int StatusCode(HINTERNET request) {
    DWORD status = 0;
    DWORD length = sizeof status;
    if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &length, nullptr)) {
        return 0;
    }
    return static_cast<int>(status);
}

} // namespace

HttpResponse WinInetTransport::Exchange(const HttpRequest& request) {
    HttpResponse response;
    InternetDeadline deadline(request.deadlineMs);
    HINTERNET root = deadline.Adopt(OpenRoot(request));
    if (root == nullptr) {
        return response;
    }
    SetTimeouts(root, request);
    HINTERNET connection =
        deadline.Adopt(InternetConnectA(root, request.host.c_str(), static_cast<INTERNET_PORT>(request.port), nullptr,
                                        nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (connection == nullptr) {
        return response;
    }
    HINTERNET handle = deadline.Adopt(HttpOpenRequestA(connection, request.verb.c_str(), request.path.c_str(),
                                                       "HTTP/1.1", nullptr, nullptr, RequestFlags(request), 0));
    if (handle == nullptr) {
        return response;
    }
    response.opened = true;
    AllowSchemeRedirects(handle);

    const char* headers = request.headerBlock.empty() ? nullptr : request.headerBlock.c_str();
    void* body = request.body.empty() ? nullptr : const_cast<char*>(request.body.data());
    if (!HttpSendRequestA(handle, headers, static_cast<DWORD>(request.headerBlock.size()), body,
                          static_cast<DWORD>(request.body.size()))) {
        response.failure = FailureOf(GetLastError(), deadline);
        return response;
    }
    response.failure = ReadBody(handle, deadline, response.body);
    response.headerBlock = RawHeaders(handle);
    response.status = StatusCode(handle);
    return response;
}

} // namespace tovrik::net
