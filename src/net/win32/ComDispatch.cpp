#include "net/win32/ComDispatch.h"

#include <utility>

namespace tovrik::net {

ComDispatch::ComDispatch(ComDispatch&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}

ComDispatch& ComDispatch::operator=(ComDispatch&& other) noexcept {
    if (this != &other) {
        if (m_object != nullptr) {
            m_object->Release();
        }
        m_object = std::exchange(other.m_object, nullptr);
    }
    return *this;
}

ComDispatch::~ComDispatch() {
    if (m_object != nullptr) {
        m_object->Release();
    }
}

ComDispatch ComDispatch::Create(const wchar_t* progId) {
    CLSID classId{};
    if (FAILED(CLSIDFromProgID(progId, &classId))) {
        return {};
    }
    IDispatch* object = nullptr;
    if (FAILED(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(&object)))) {
        return {};
    }
    return ComDispatch(object);
}

HRESULT ComDispatch::Call(const wchar_t* member, std::vector<ComVariant> args, ComVariant* resultOut) {
    return Invoke(member, DISPATCH_METHOD, args, false, resultOut);
}

HRESULT ComDispatch::Get(const wchar_t* member, ComVariant& resultOut) {
    std::vector<ComVariant> none;
    return Invoke(member, DISPATCH_PROPERTYGET, none, false, &resultOut);
}

HRESULT ComDispatch::PutIndexed(const wchar_t* member, ComVariant index, ComVariant value) {
    std::vector<ComVariant> args;
    args.push_back(std::move(index));
    args.push_back(std::move(value));
    return Invoke(member, DISPATCH_PROPERTYPUT, args, true, nullptr);
}

HRESULT ComDispatch::Invoke(const wchar_t* member, WORD flags, std::vector<ComVariant>& args, bool namedPut,
                            ComVariant* resultOut) {
    if (m_object == nullptr) {
        return E_POINTER;
    }
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR name = const_cast<LPOLESTR>(member);
    HRESULT hr = m_object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) {
        return hr;
    }
    // Automation takes the arguments last first; the owned variants stay in args.
    std::vector<VARIANT> reversed;
    reversed.reserve(args.size());
    for (auto it = args.rbegin(); it != args.rend(); ++it) {
        reversed.push_back(it->Raw());
    }
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{};
    params.rgvarg = reversed.empty() ? nullptr : reversed.data();
    params.cArgs = static_cast<UINT>(reversed.size());
    if (namedPut) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    EXCEPINFO exception{};
    ComVariant result;
    hr = m_object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result.Raw(), &exception, nullptr);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    if (SUCCEEDED(hr) && resultOut != nullptr) {
        *resultOut = std::move(result);
    }
    // An error the object raised says more than "an exception occurred".
    if (hr == DISP_E_EXCEPTION && FAILED(exception.scode)) {
        return exception.scode;
    }
    return hr;
}

} // namespace tovrik::net
