#include "net/win32/WinHttpComTransport.h"

#include "net/RequestShaping.h"
#include "text/HeaderText.h"

#include <charconv>
#include <cstdint>
#include <utility>
#include <vector>

namespace tovrik::net {

namespace {

constexpr long kProxySettingProxy = 2;     // HTTPREQUEST_PROXYSETTING_PROXY
constexpr long kOptionEnableRedirects = 6; // WinHttpRequestOption_EnableRedirects
constexpr int kPhases = 4;                 // resolve, connect, send, receive

std::vector<ComVariant> Args(std::initializer_list<TextView> texts) {
    std::vector<ComVariant> args;
    for (const TextView text : texts) {
        args.push_back(ComVariant::FromText(text));
    }
    return args;
}

// ERROR_WINHTTP_TIMEOUT as the object raises it.
constexpr HRESULT kObjectTimedOut = HRESULT_FROM_WIN32(12002);

// The four phases each within the time-out: never longer than their sum, and never past the
// deadline of the whole exchange (rounded up to whole seconds, the unit of the call).
long WaitSeconds(const HttpRequest& request) {
    const long deadlineSeconds = (static_cast<long>(request.deadlineMs) + 999) / 1000;
    if (!request.timeoutMs) {
        return deadlineSeconds;
    }
    const long seconds = (static_cast<long>(*request.timeoutMs) + 999) / 1000;
    return seconds > deadlineSeconds / kPhases ? deadlineSeconds : seconds * kPhases;
}

// Some implementations of the object answer "not yet" at once to a wait that begins after the
// whole reply has come in, where Windows answers "complete". A wait that ran into its time-out
// took all of it, so a "not yet" long before that means the reply was in already.
bool InBeforeTheWait(long waitSeconds, ULONGLONG waitedMs) {
    return waitedMs < static_cast<ULONGLONG>(waitSeconds) * 1000 / 2;
}

bool TooLarge(const Text& contentLength) {
    std::uint64_t length = 0;
    const std::from_chars_result parsed =
        std::from_chars(contentLength.data(), contentLength.data() + contentLength.size(), length);
    return parsed.ec == std::errc() && length > kMaxBodyBytes;
}

} // namespace

WinHttpComTransport::WinHttpComTransport(std::function<void()> afterSend) : m_afterSend(std::move(afterSend)) {}

HttpResponse WinHttpComTransport::Exchange(const HttpRequest& request) {
    HttpResponse response;
    if (!m_object) {
        m_object = ComDispatch::Create(L"WinHttp.WinHttpRequest.5.1");
        if (!m_object) {
            return response;
        }
    }
    response.opened = true;

    // Opened asynchronously so that the call can also bound the whole exchange: not every
    // implementation of the object honours its receive time-out.
    std::vector<ComVariant> open = Args({request.verb, request.url});
    open.push_back(ComVariant::FromBool(true));
    if (FAILED(m_object.Call(L"Open", std::move(open)))) {
        return response;
    }
    // Time-outs and proxy go after Open: opening resets both in some implementations of the object.
    if (request.timeoutMs) {
        std::vector<ComVariant> timeouts;
        for (int phase = 0; phase < kPhases; ++phase) {
            timeouts.push_back(ComVariant::FromInt(*request.timeoutMs));
        }
        m_object.Call(L"SetTimeouts", std::move(timeouts));
    }
    if (!request.proxy.empty()) {
        std::vector<ComVariant> args;
        args.push_back(ComVariant::FromInt(kProxySettingProxy));
        args.push_back(ComVariant::FromText(request.proxy));
        m_object.Call(L"SetProxy", std::move(args));
    }
    if (!request.followRedirects) {
        m_object.PutIndexed(L"Option", ComVariant::FromInt(kOptionEnableRedirects), ComVariant::FromBool(false));
    }
    // No certificate errors are ignored: the requests carry the user's keys.
    if (!request.proxyUser.empty()) {
        std::vector<ComVariant> args = Args({request.proxyUser, request.proxyPassword});
        args.push_back(ComVariant::FromInt(request.credentialsTarget));
        m_object.Call(L"SetCredentials", std::move(args));
    }
    for (const Text& line : SplitLines(request.headerBlock)) {
        if (!line.empty()) {
            m_object.Call(L"SetRequestHeader", Args({text::HeaderName(line), text::HeaderValue(line)}));
        }
    }
    std::vector<ComVariant> body;
    body.push_back(request.body.empty() ? ComVariant::FromText({}) : ComVariant::FromBytes(request.body));
    if (FAILED(m_object.Call(L"Send", std::move(body)))) {
        response.failure = HttpFailure::NoAnswer;
        return response;
    }
    if (m_afterSend) {
        m_afterSend();
    }
    const long waitSeconds = WaitSeconds(request);
    std::vector<ComVariant> wait;
    wait.push_back(ComVariant::FromInt(waitSeconds));
    ComVariant completed;
    const ULONGLONG waitStart = GetTickCount64();
    const HRESULT waited = m_object.Call(L"WaitForResponse", std::move(wait), &completed);
    const bool inBeforeTheWait =
        SUCCEEDED(waited) && completed.ToInt() == 0 && InBeforeTheWait(waitSeconds, GetTickCount64() - waitStart);
    if (FAILED(waited) || (completed.ToInt() == 0 && !inBeforeTheWait)) {
        m_object.Call(L"Abort", {});
        response.failure =
            SUCCEEDED(waited) || waited == kObjectTimedOut ? HttpFailure::TimedOut : HttpFailure::NoAnswer;
        return response;
    }

    // The object has already read the whole reply into its own memory; an announced size past
    // the limit at least spares the copy.
    ComVariant value;
    const bool announcedTooLarge =
        SUCCEEDED(m_object.Call(L"GetResponseHeader", Args({"Content-Length"}), &value)) && TooLarge(value.ToText());
    if (announcedTooLarge) {
        response.failure = HttpFailure::TooLarge;
    } else if (SUCCEEDED(m_object.Get(L"ResponseBody", value))) {
        response.body = value.ToBytes();
        if (response.body.size() > kMaxBodyBytes) {
            response.body.clear();
            response.failure = HttpFailure::TooLarge;
        }
    }
    if (SUCCEEDED(m_object.Call(L"GetAllResponseHeaders", {}, &value))) {
        response.headerBlock = value.ToText();
        // Some implementations count the string's terminator into its length.
        while (response.headerBlock.ends_with('\0')) {
            response.headerBlock.pop_back();
        }
    }
    if (SUCCEEDED(m_object.Get(L"Status", value))) {
        response.status = static_cast<int>(value.ToInt());
    }
    // Such an object still counts the exchange as running, and the next Open, which cancels it,
    // leaves the cancellation to fail the exchange after: the next one gets a fresh object.
    if (inBeforeTheWait) {
        m_object = ComDispatch();
    }
    return response;
}

} // namespace tovrik::net
