#include "net/win32/ComApartment.h"

#include <windows.h>

#include <objbase.h>

namespace tovrik::net {

ComApartment::ComApartment() : m_initialised(SUCCEEDED(CoInitialize(nullptr))) {}

ComApartment::~ComApartment() {
    if (m_initialised) {
        CoUninitialize();
    }
}

} // namespace tovrik::net
