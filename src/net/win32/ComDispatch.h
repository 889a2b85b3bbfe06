#pragma once

#include "net/win32/ComVariant.h"

#include <windows.h>

#include <oaidl.h>

#include <vector>

namespace tovrik::net {

// An automation object reached by member names, released when it goes.
class ComDispatch {
public:
    ComDispatch() = default;
    ComDispatch(ComDispatch&& other) noexcept;
    ComDispatch& operator=(ComDispatch&& other) noexcept;
    ComDispatch(const ComDispatch&) = delete;
    ComDispatch& operator=(const ComDispatch&) = delete;
    ~ComDispatch();

    // Empty when the class is not registered or cannot be created.
    [[nodiscard]] static ComDispatch Create(const wchar_t* progId);

    [[nodiscard]] explicit operator bool() const { return m_object != nullptr; }

    // Arguments in their written order. An error raised by the object comes back as its own code.
    HRESULT Call(const wchar_t* member, std::vector<ComVariant> args, ComVariant* resultOut = nullptr);
    HRESULT Get(const wchar_t* member, ComVariant& resultOut);
    HRESULT PutIndexed(const wchar_t* member, ComVariant index, ComVariant value);

private:
    explicit ComDispatch(IDispatch* object) : m_object(object) {}
    HRESULT Invoke(const wchar_t* member, WORD flags, std::vector<ComVariant>& args, bool namedPut,
                   ComVariant* resultOut);

    IDispatch* m_object = nullptr;
};

} // namespace tovrik::net
