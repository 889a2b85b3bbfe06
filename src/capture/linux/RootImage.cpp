#include "capture/linux/RootImage.h"

#include "capture/linux/XErrorTrap.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

namespace tovrik::capture {

namespace {

struct ImageDeleter {
    void operator()(XImage* image) const { XDestroyImage(image); }
};
using ImagePtr = std::unique_ptr<XImage, ImageDeleter>;

} // namespace

// A shared memory segment attached to us and to the server, with an image of one size.
class SharedImage {
public:
    SharedImage(Display* display, int width, int height) : m_display(display) {
        const int screen = DefaultScreen(display);
        m_image.reset(XShmCreateImage(display, DefaultVisual(display, screen),
                                      static_cast<unsigned>(DefaultDepth(display, screen)), ZPixmap, nullptr, &m_info,
                                      static_cast<unsigned>(width), static_cast<unsigned>(height)));
        if (!m_image) {
            return;
        }
        const auto size = static_cast<std::size_t>(m_image->bytes_per_line) * static_cast<std::size_t>(height);
        m_info.shmid = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
        if (m_info.shmid < 0) {
            return;
        }
        void* address = shmat(m_info.shmid, nullptr, 0);
        // Removed at once: the segment goes when the last user detaches, even after a crash.
        shmctl(m_info.shmid, IPC_RMID, nullptr);
        if (address == reinterpret_cast<void*>(-1)) {
            return;
        }
        m_info.shmaddr = m_image->data = static_cast<char*>(address);
        m_info.readOnly = False;
        XErrorTrap trap(display);
        m_attached = XShmAttach(display, &m_info) != 0 && !trap.Failed();
    }
    ~SharedImage() {
        if (m_attached) {
            XShmDetach(m_display, &m_info);
            XSync(m_display, False);
        }
        if (m_info.shmaddr != nullptr) {
            shmdt(m_info.shmaddr);
        }
        if (m_image) {
            m_image->data = nullptr; // not Xlib's memory
        }
    }
    SharedImage(const SharedImage&) = delete;
    SharedImage& operator=(const SharedImage&) = delete;

    [[nodiscard]] bool Fits(Display* display, int width, int height) const {
        return m_display == display && m_image && m_image->width == width && m_image->height == height;
    }

    [[nodiscard]] XImage* Read(Point at) {
        if (!m_attached) {
            return nullptr;
        }
        XErrorTrap trap(m_display);
        const bool read = XShmGetImage(m_display, DefaultRootWindow(m_display), m_image.get(), at.x, at.y, AllPlanes);
        return read && !trap.Failed() ? m_image.get() : nullptr;
    }

private:
    Display* m_display;
    XShmSegmentInfo m_info{};
    ImagePtr m_image;
    bool m_attached = false;
};

namespace {

unsigned Channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) {
        return 0;
    }
    const int bits = std::popcount(mask);
    const unsigned long value = (pixel & mask) >> std::countr_zero(mask);
    if (bits >= 8) {
        return static_cast<unsigned>(value >> (bits - 8));
    }
    // Narrow channels (16-bit displays) are stretched so that full intensity stays 255.
    return static_cast<unsigned>(value * 255 / ((1ul << bits) - 1));
}

void CopyImage(const XImage& image, Point offset, ui::Bitmap& picture) {
    const XPixelLayout layout{image.bits_per_pixel, image.byte_order == LSBFirst, image.red_mask, image.green_mask,
                              image.blue_mask};
    for (int y = 0; y < image.height; ++y) {
        std::uint8_t* target = picture.pixels.data() + static_cast<std::size_t>(offset.y + y) * picture.Stride() +
                               static_cast<std::size_t>(offset.x) * 4;
        if (layout.IsBgrx()) {
            std::memcpy(target, image.data + static_cast<std::size_t>(y) * image.bytes_per_line,
                        static_cast<std::size_t>(image.width) * 4);
            continue;
        }
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t pixel = PixelToBgra(XGetPixel(const_cast<XImage*>(&image), x, y), layout);
            std::memcpy(target + static_cast<std::size_t>(x) * 4, &pixel, 4);
        }
    }
}

} // namespace

std::uint32_t PixelToBgra(unsigned long pixel, const XPixelLayout& layout) {
    return Channel(pixel, layout.blueMask) | (Channel(pixel, layout.greenMask) << 8) |
           (Channel(pixel, layout.redMask) << 16) | 0xFF000000u;
}

ClippedArea ClipToScreen(const Rect& area, int screenWidth, int screenHeight) {
    const Rect onScreen = area.Normalized().Intersected({0, 0, screenWidth, screenHeight});
    if (onScreen.IsEmpty()) {
        return {};
    }
    return {onScreen, {onScreen.left - area.left, onScreen.top - area.top}};
}

RootImageReader::RootImageReader() = default;

RootImageReader::~RootImageReader() = default;

void RootImageReader::Release() {
    m_shared.reset();
}

bool RootImageReader::Read(Display* display, const Rect& part, Point offset, ui::Bitmap& picture) {
    if (XShmQueryExtension(display)) {
        if (!m_shared || !m_shared->Fits(display, part.Width(), part.Height())) {
            m_shared.reset();
            m_shared = std::make_unique<SharedImage>(display, part.Width(), part.Height());
        }
        if (const XImage* image = m_shared->Read({part.left, part.top})) {
            CopyImage(*image, offset, picture);
            return true;
        }
        m_shared.reset();
    }
    return ReadDrawable(display, DefaultRootWindow(display), part, offset, picture);
}

bool ReadDrawable(Display* display, unsigned long drawable, const Rect& part, Point offset, ui::Bitmap& picture) {
    // GetImage waits for its reply, by which time its error, if any, has arrived.
    XErrorTrap trap(display, false);
    const ImagePtr image(XGetImage(display, drawable, part.left, part.top, static_cast<unsigned>(part.Width()),
                                   static_cast<unsigned>(part.Height()), AllPlanes, ZPixmap));
    if (!image || trap.FailedSoFar()) {
        return false;
    }
    if (image->red_mask == 0 && image->green_mask == 0 && image->blue_mask == 0) {
        // A pixmap has no visual of its own: its pixels are those of the screen's visual.
        const Visual* visual = DefaultVisual(display, DefaultScreen(display));
        image->red_mask = visual->red_mask;
        image->green_mask = visual->green_mask;
        image->blue_mask = visual->blue_mask;
    }
    CopyImage(*image, offset, picture);
    return true;
}

} // namespace tovrik::capture
