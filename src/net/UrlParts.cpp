#include "net/UrlParts.h"

#include "net/RequestShaping.h"

#include <charconv>

namespace tovrik::net {

namespace {

constexpr TextView kHttps = "https://";
constexpr TextView kHttp = "http://";

std::size_t SchemeLength(TextView url) {
    if (StartsWithNoCase(url, kHttps)) {
        return kHttps.size();
    }
    return StartsWithNoCase(url, kHttp) ? kHttp.size() : 0;
}

// The host ends at the path, the query or the fragment, whichever comes first; searching for
// the scheme only at the start keeps an address inside a query from being taken for the host.
TextView HostWithPort(TextView url) {
    const TextView rest = url.substr(SchemeLength(url));
    return rest.substr(0, rest.find_first_of("/?#"));
}

} // namespace

Text UrlHost(TextView url, bool keepPort) {
    Text host = LowerAscii(HostWithPort(url));
    if (!keepPort) {
        host = host.substr(0, host.find(':'));
    }
    return host;
}

int UrlPort(TextView url) {
    const Text host = UrlHost(url, true);
    const std::size_t colon = host.rfind(':');
    if (colon == Text::npos) {
        return StartsWithNoCase(url, "https") ? 443 : 80;
    }
    const char* first = host.data() + colon + 1;
    const char* last = host.data() + host.size();
    int port = 0;
    const std::from_chars_result parsed = std::from_chars(first, last, port);
    if (parsed.ec != std::errc() || port < 0 || port > 65535) {
        return 0;
    }
    return port;
}

Text UrlPath(TextView url) {
    const TextView rest = url.substr(SchemeLength(url) + HostWithPort(url).size());
    if (rest.empty()) {
        return "/";
    }
    if (rest.front() == '/') {
        return Text(rest);
    }
    Text path(1, '/');
    path += rest;
    return path;
}

} // namespace tovrik::net
