#pragma once

#include "capture/Geometry.h"
#include "ui/Bitmap.h"

#include <cstdint>
#include <memory>

using Display = struct _XDisplay;

namespace tovrik::capture {

// The pixel layout of an X image, enough to copy it into a bitmap.
struct XPixelLayout {
    int bitsPerPixel = 0;
    bool lsbFirst = true;
    unsigned long redMask = 0;
    unsigned long greenMask = 0;
    unsigned long blueMask = 0;

    // 32-bit pixels whose bytes already are B, G, R, X: rows copy as they are.
    [[nodiscard]] bool IsBgrx() const {
        return bitsPerPixel == 32 && lsbFirst && redMask == 0xFF0000 && greenMask == 0xFF00 && blueMask == 0xFF;
    }
};

// A pixel value of that layout as the bytes B, G, R, A (alpha 255), each channel scaled from
// its mask's width to 8 bits.
[[nodiscard]] std::uint32_t PixelToBgra(unsigned long pixel, const XPixelLayout& layout);

// Where the part of an area that lies on a screen of that size is: the screen's part in desktop
// pixels (empty when none) and its offset inside the area.
struct ClippedArea {
    Rect onScreen;
    Point offset;
};
[[nodiscard]] ClippedArea ClipToScreen(const Rect& area, int screenWidth, int screenHeight);

// Reads a part of a window or pixmap with a plain GetImage into the bitmap at the offset; false
// when the server refuses. The bitmap has its final size already.
[[nodiscard]] bool ReadDrawable(Display* display, unsigned long drawable, const Rect& part, Point offset,
                                ui::Bitmap& picture);

class SharedImage;

// Reads parts of the root window. The shared memory segment stays for the next capture until
// released: a fresh one costs the server a page fault per page when it first writes it,
// several times the copy itself.
class RootImageReader {
public:
    RootImageReader();
    ~RootImageReader();
    RootImageReader(const RootImageReader&) = delete;
    RootImageReader& operator=(const RootImageReader&) = delete;

    // Reads the part into the bitmap at the offset; false when the server refuses. The bitmap
    // has its final size already.
    [[nodiscard]] bool Read(Display* display, const Rect& part, Point offset, ui::Bitmap& picture);
    // Gives the shared memory segment back.
    void Release();

private:
    std::unique_ptr<SharedImage> m_shared;
};

} // namespace tovrik::capture
