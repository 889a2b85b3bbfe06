#pragma once

#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <memory>

namespace tovrik::capture::gdiplus {

// GDI+ started for the lifetime of the object (the library counts nested starts).
class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

    [[nodiscard]] bool Started() const { return m_started; }

private:
    ULONG_PTR m_token = 0;
    bool m_started = false;
};

struct ImageDisposer {
    void operator()(Gdiplus::GpImage* image) const { Gdiplus::DllExports::GdipDisposeImage(image); }
};
using ImagePtr = std::unique_ptr<Gdiplus::GpBitmap, ImageDisposer>;

struct ComReleaser {
    void operator()(IUnknown* object) const { object->Release(); }
};
using StreamPtr = std::unique_ptr<IStream, ComReleaser>;

} // namespace tovrik::capture::gdiplus
