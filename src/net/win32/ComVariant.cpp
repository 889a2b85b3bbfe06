#include "net/win32/ComVariant.h"

#include <algorithm>
#include <utility>

namespace tovrik::net {

namespace {

constexpr UINT kCodePage = 936;

BSTR AllocText(TextView text) {
    const int units = MultiByteToWideChar(kCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(units));
    if (result != nullptr && units > 0) {
        MultiByteToWideChar(kCodePage, 0, text.data(), static_cast<int>(text.size()), result, units);
    }
    return result;
}

} // namespace

ComVariant::ComVariant(ComVariant&& other) noexcept : m_value(other.m_value) {
    VariantInit(&other.m_value);
}

ComVariant& ComVariant::operator=(ComVariant&& other) noexcept {
    if (this != &other) {
        VariantClear(&m_value);
        m_value = other.m_value;
        VariantInit(&other.m_value);
    }
    return *this;
}

ComVariant ComVariant::FromText(TextView text) {
    ComVariant variant;
    BSTR value = AllocText(text);
    if (value != nullptr) {
        variant.m_value.vt = VT_BSTR;
        variant.m_value.bstrVal = value;
    }
    return variant;
}

ComVariant ComVariant::FromInt(long value) {
    ComVariant variant;
    variant.m_value.vt = VT_I4;
    variant.m_value.lVal = value;
    return variant;
}

ComVariant ComVariant::FromBool(bool value) {
    ComVariant variant;
    variant.m_value.vt = VT_BOOL;
    variant.m_value.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return variant;
}

ComVariant ComVariant::FromBytes(BytesView bytes) {
    ComVariant variant;
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    if (array == nullptr) {
        return variant;
    }
    void* data = nullptr;
    if (SUCCEEDED(SafeArrayAccessData(array, &data))) {
        std::copy(bytes.begin(), bytes.end(), static_cast<char*>(data));
        SafeArrayUnaccessData(array);
    }
    variant.m_value.vt = VT_ARRAY | VT_UI1;
    variant.m_value.parray = array;
    return variant;
}

Text ComVariant::ToText() const {
    if (m_value.vt != VT_BSTR || m_value.bstrVal == nullptr) {
        return {};
    }
    const int units = static_cast<int>(SysStringLen(m_value.bstrVal));
    const int length = WideCharToMultiByte(kCodePage, 0, m_value.bstrVal, units, nullptr, 0, nullptr, nullptr);
    Text text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(kCodePage, 0, m_value.bstrVal, units, text.data(), length, nullptr, nullptr);
    return text;
}

long ComVariant::ToInt() const {
    VARIANT converted;
    VariantInit(&converted);
    long value = 0;
    if (SUCCEEDED(VariantChangeType(&converted, const_cast<VARIANT*>(&m_value), 0, VT_I4))) {
        value = converted.lVal;
    }
    VariantClear(&converted);
    return value;
}

Bytes ComVariant::ToBytes() const {
    if (m_value.vt != (VT_ARRAY | VT_UI1) || m_value.parray == nullptr) {
        return {};
    }
    SAFEARRAY* array = m_value.parray;
    LONG lower = 0;
    LONG upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    if (upper < lower) {
        return {};
    }
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(array, &data))) {
        return {};
    }
    Bytes bytes(static_cast<const char*>(data), static_cast<std::size_t>(upper - lower + 1));
    SafeArrayUnaccessData(array);
    return bytes;
}

} // namespace tovrik::net
