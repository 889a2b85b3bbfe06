#include "text/Md5Digest.h"

#include <openssl/evp.h>

#include <memory>

namespace tovrik::text {

std::optional<Md5> Md5Digest(BytesView bytes) {
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    Md5 digest{};
    unsigned size = 0;
    if (!context || EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) != 1 ||
        EVP_DigestUpdate(context.get(), bytes.data(), bytes.size()) != 1 ||
        EVP_DigestFinal_ex(context.get(), digest.data(), &size) != 1 || size != digest.size()) {
        return std::nullopt;
    }
    return digest;
}

} // namespace tovrik::text
