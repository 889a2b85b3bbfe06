#include "net/HttpTransport.h"
#include "net/win32/WinHttpComTransport.h"
#include "net/win32/WinInetTransport.h"

namespace tovrik::net {

std::unique_ptr<HttpTransport> MakeWebRequestTransport() {
    return std::make_unique<WinInetTransport>();
}

std::unique_ptr<HttpTransport> MakeComTransport() {
    return std::make_unique<WinHttpComTransport>();
}

} // namespace tovrik::net
