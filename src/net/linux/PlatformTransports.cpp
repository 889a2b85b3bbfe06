#include "net/HttpTransport.h"
#include "net/linux/CurlTransport.h"

namespace tovrik::net {

std::unique_ptr<HttpTransport> MakeWebRequestTransport() {
    return std::make_unique<CurlTransport>(CurlFlavour::Session);
}

std::unique_ptr<HttpTransport> MakeComTransport() {
    return std::make_unique<CurlTransport>(CurlFlavour::RequestObject);
}

} // namespace tovrik::net
