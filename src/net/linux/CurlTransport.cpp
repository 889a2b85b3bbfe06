#include "net/linux/CurlTransport.h"

#include "net/RequestShaping.h"
#include "text/HeaderText.h"
#include "text/Trim.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace tovrik::net {

namespace {

// Defaults of the Windows request object when the caller keeps them: 60 s to connect, 30 s
// without data.
constexpr long kDefaultConnectTimeoutMs = 60000;
constexpr long kDefaultStallSeconds = 30;
constexpr long kMaxRedirects = 10;

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;

struct SlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, SlistDeleter>;

struct Transfer {
    CurlFlavour flavour;
    Text headerBlock;
    Bytes body;
    bool tooLarge = false;
};

void InitialiseCurl() {
    static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
    static_cast<void>(initialised);
}

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const std::size_t length = size * count;
    if (transfer->body.size() + length > kMaxBodyBytes) {
        // Returning short aborts the transfer: nothing past the limit is ever held.
        transfer->tooLarge = true;
        return 0;
    }
    transfer->body.append(data, length);
    return length;
}

// Only the last reply of a redirect chain (or after an interim 1xx) is reported, as the
// platform reports it.
std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const std::size_t length = size * count;
    const TextView line(data, length);
    if (line.starts_with("HTTP/")) {
        transfer->headerBlock.clear();
        if (transfer->flavour == CurlFlavour::RequestObject) {
            return length;
        }
    }
    transfer->headerBlock.append(line);
    return length;
}

bool Append(HeaderList& list, const Text& line) {
    curl_slist* grown = curl_slist_append(list.get(), line.c_str());
    if (grown == nullptr) {
        return false;
    }
    static_cast<void>(list.release());
    list.reset(grown);
    return true;
}

bool HasField(const std::vector<Text>& lines, TextView name) {
    return std::any_of(lines.begin(), lines.end(), [name](const Text& line) {
        const Text lineName = text::HeaderName(line);
        return lineName.size() == name.size() && StartsWithNoCase(lineName, name);
    });
}

// Our header block goes out line by line as it stands. curl would add Accept, Expect and a
// form Content-Type of its own; blank entries switch those off so that only what HTTP needs
// (Host, Content-Length) and the session's agent are added.
// An empty value: the request object drops the header, a raw block sends it empty ("Name:"
// alone would remove a header in curl's syntax, "Name;" sends it empty).
bool BuildHeaderList(const HttpRequest& request, CurlFlavour flavour, bool sendsBody, HeaderList& listOut) {
    std::vector<Text> lines;
    for (const Text& line : SplitLines(request.headerBlock)) {
        const bool empty = text::HeaderValue(line).empty();
        if (line.find(':') == Text::npos || (empty && flavour == CurlFlavour::RequestObject)) {
            continue;
        }
        lines.push_back(empty ? text::HeaderName(line) + ";" : line);
    }
    bool ok = true;
    for (const Text& line : lines) {
        ok = ok && Append(listOut, line);
    }
    if (!HasField(lines, "Accept")) {
        ok = ok && Append(listOut, "Accept:");
    }
    ok = ok && Append(listOut, "Expect:");
    if (sendsBody && !HasField(lines, "Content-Type")) {
        ok = ok && Append(listOut, "Content-Type:");
    }
    return ok;
}

// Returns whether a body goes out.
bool SetMethod(CURL* easy, const HttpRequest& request) {
    if (request.verb == "HEAD") {
        curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
        return false;
    }
    if (request.verb == "GET" && request.body.empty()) {
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
        return false;
    }
    const bool sendsBody = request.verb == "POST" || !request.body.empty();
    if (sendsBody) {
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, request.body.data());
    }
    // POST stays a plain POST so that a 301/302/303 turns it into GET, as on Windows.
    if (request.verb != "POST") {
        curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, request.verb.c_str());
    }
    return sendsBody;
}

void SetTimeouts(CURL* easy, const HttpRequest& request) {
    long connectMs = kDefaultConnectTimeoutMs;
    long stallSeconds = kDefaultStallSeconds;
    if (request.timeoutMs) {
        connectMs = *request.timeoutMs;
        stallSeconds = std::max(1L, (static_cast<long>(*request.timeoutMs) + 999) / 1000);
    }
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, connectMs);
    // A reply that stops arriving (below one byte a second) for that long times out.
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, stallSeconds);
    // ... and one that keeps trickling is cut off at the deadline.
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(request.deadlineMs));
}

HttpFailure FailureOf(CURLcode result, bool tooLarge) {
    if (tooLarge || result == CURLE_FILESIZE_EXCEEDED) {
        return HttpFailure::TooLarge;
    }
    switch (result) {
    case CURLE_OK:
        return HttpFailure::None;
    case CURLE_OPERATION_TIMEDOUT:
        return HttpFailure::TimedOut;
    default:
        return HttpFailure::NoAnswer;
    }
}

void SetProxy(CURL* easy, const HttpRequest& request) {
    // An empty proxy also ignores proxy variables of the environment: a direct connection.
    curl_easy_setopt(easy, CURLOPT_PROXY, request.proxy.c_str());
    curl_easy_setopt(easy, CURLOPT_PROXYTYPE, request.socksProxy ? CURLPROXY_SOCKS4 : CURLPROXY_HTTP);
    if (request.proxyUser.empty()) {
        return;
    }
    if (request.credentialsTarget == 1) {
        curl_easy_setopt(easy, CURLOPT_PROXYUSERNAME, request.proxyUser.c_str());
        curl_easy_setopt(easy, CURLOPT_PROXYPASSWORD, request.proxyPassword.c_str());
        curl_easy_setopt(easy, CURLOPT_PROXYAUTH, CURLAUTH_ANY);
    } else {
        curl_easy_setopt(easy, CURLOPT_USERNAME, request.proxyUser.c_str());
        curl_easy_setopt(easy, CURLOPT_PASSWORD, request.proxyPassword.c_str());
        curl_easy_setopt(easy, CURLOPT_HTTPAUTH, CURLAUTH_ANY);
    }
}

} // namespace

// libcurl, and with it the TLS library, is set up at the first exchange, not when the program
// starts: that costs 2 MB of memory a program waiting in the tray would carry for nothing.
CurlTransport::CurlTransport(CurlFlavour flavour) : m_flavour(flavour) {}

CurlTransport::~CurlTransport() = default;

// Null when the request keeps out of every store: nothing is read or written then.
CURLSH* CurlTransport::StoreFor(const HttpRequest& request) const {
    if (!request.useCookieStore) {
        return nullptr;
    }
    return m_objectState ? m_objectState->Handle() : CurlShare::ProcessCookies().Handle();
}

HttpResponse CurlTransport::Exchange(const HttpRequest& request) {
    std::call_once(m_setUp, [this] {
        InitialiseCurl();
        if (m_flavour == CurlFlavour::RequestObject) {
            m_objectState = std::make_unique<CurlShare>(true);
        }
    });
    HttpResponse response;
    const EasyHandle handle(curl_easy_init());
    CURL* easy = handle.get();
    if (easy == nullptr) {
        return response;
    }

    Transfer transfer{m_flavour, {}, {}, false};
    HeaderList headers;
    const bool sendsBody = SetMethod(easy, request);
    if (!BuildHeaderList(request, m_flavour, sendsBody, headers)) {
        return response;
    }
    curl_easy_setopt(easy, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers.get());
    if (!request.userAgent.empty()) {
        curl_easy_setopt(easy, CURLOPT_USERAGENT, request.userAgent.c_str());
    }
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, request.followRedirects ? 1L : 0L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
    SetTimeouts(easy, request);
    SetProxy(easy, request);
    if (CURLSH* store = StoreFor(request); store != nullptr) {
        curl_easy_setopt(easy, CURLOPT_SHARE, store);
        curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");
    }
    // Certificates are verified (curl's default): the requests carry the user's keys.
    curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kMaxBodyBytes));
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &OnBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &OnHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &transfer);

    const CURLcode result = curl_easy_perform(easy);
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);

    response.opened = true;
    response.status = static_cast<int>(status);
    response.headerBlock = std::move(transfer.headerBlock);
    response.failure = FailureOf(result, transfer.tooLarge);
    if (response.failure != HttpFailure::TooLarge) {
        response.body = std::move(transfer.body);
    }
    return response;
}

} // namespace tovrik::net
