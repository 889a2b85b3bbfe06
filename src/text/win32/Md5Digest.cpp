#include "text/Md5Digest.h"

#include <windows.h>

#include <wincrypt.h>

#include <algorithm>

namespace tovrik::text {

namespace {

class CryptContext {
public:
    CryptContext() {
        // A verify-only context needs no key container; the second try covers providers that
        // refuse that flag.
        if (!CryptAcquireContextA(&m_handle, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT) &&
            !CryptAcquireContextA(&m_handle, nullptr, nullptr, PROV_RSA_FULL, 0)) {
            m_handle = 0;
        }
    }
    ~CryptContext() {
        if (m_handle != 0) {
            CryptReleaseContext(m_handle, 0);
        }
    }
    CryptContext(const CryptContext&) = delete;
    CryptContext& operator=(const CryptContext&) = delete;

    [[nodiscard]] HCRYPTPROV Get() const { return m_handle; }

private:
    HCRYPTPROV m_handle = 0;
};

class CryptHash {
public:
    explicit CryptHash(HCRYPTPROV context) {
        if (context == 0 || !CryptCreateHash(context, CALG_MD5, 0, 0, &m_handle)) {
            m_handle = 0;
        }
    }
    ~CryptHash() {
        if (m_handle != 0) {
            CryptDestroyHash(m_handle);
        }
    }
    CryptHash(const CryptHash&) = delete;
    CryptHash& operator=(const CryptHash&) = delete;

    [[nodiscard]] HCRYPTHASH Get() const { return m_handle; }

private:
    HCRYPTHASH m_handle = 0;
};

} // namespace

std::optional<Md5> Md5Digest(BytesView bytes) {
    const CryptContext context;
    const CryptHash hash(context.Get());
    if (hash.Get() == 0) {
        return std::nullopt;
    }
    // CryptHashData takes a 32-bit length: feed large inputs in pieces.
    constexpr std::size_t kPiece = 1u << 30;
    for (std::size_t offset = 0; offset < bytes.size(); offset += kPiece) {
        const std::size_t piece = std::min(kPiece, bytes.size() - offset);
        if (!CryptHashData(hash.Get(), reinterpret_cast<const BYTE*>(bytes.data() + offset), static_cast<DWORD>(piece),
                           0)) {
            return std::nullopt;
        }
    }
    Md5 digest{};
    DWORD size = static_cast<DWORD>(digest.size());
    if (!CryptGetHashParam(hash.Get(), HP_HASHVAL, digest.data(), &size, 0) || size != digest.size()) {
        return std::nullopt;
    }
    return digest;
}

} // namespace tovrik::text
