#pragma once

#include "text/Types.h"

#include <windows.h>

#include <oleauto.h>

namespace tovrik::net {

// An owned VARIANT, cleared when it goes. Text crosses as code page 936 both ways.
class ComVariant {
public:
    ComVariant() { VariantInit(&m_value); }
    ComVariant(ComVariant&& other) noexcept;
    ComVariant& operator=(ComVariant&& other) noexcept;
    ComVariant(const ComVariant&) = delete;
    ComVariant& operator=(const ComVariant&) = delete;
    ~ComVariant() { VariantClear(&m_value); }

    [[nodiscard]] static ComVariant FromText(TextView text);
    [[nodiscard]] static ComVariant FromInt(long value);
    [[nodiscard]] static ComVariant FromBool(bool value);
    // A one-dimensional safe array of bytes.
    [[nodiscard]] static ComVariant FromBytes(BytesView bytes);

    [[nodiscard]] Text ToText() const;
    [[nodiscard]] long ToInt() const;
    [[nodiscard]] Bytes ToBytes() const;

    [[nodiscard]] VARIANT& Raw() { return m_value; }
    [[nodiscard]] const VARIANT& Raw() const { return m_value; }

private:
    VARIANT m_value;
};

} // namespace tovrik::net
