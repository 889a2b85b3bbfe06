// The address pieces the first client connects with, on arbitrary text: no crash, and pieces
// that fit together (the host is lowercase, within the address, the path starts with "/").
#include "net/UrlParts.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view url(reinterpret_cast<const char*>(data), size);
    const tovrik::Text host = tovrik::net::UrlHost(url);
    const tovrik::Text hostWithPort = tovrik::net::UrlHost(url, true);
    const int port = tovrik::net::UrlPort(url);
    const tovrik::Text path = tovrik::net::UrlPath(url);
    if (host.size() > url.size() || hostWithPort.size() < host.size() || port < 0 || port > 65535 || path.empty() ||
        path.front() != '/') {
        __builtin_trap();
    }
    for (const char c : host) {
        if (c >= 'A' && c <= 'Z') {
            __builtin_trap();
        }
    }
    return 0;
}
