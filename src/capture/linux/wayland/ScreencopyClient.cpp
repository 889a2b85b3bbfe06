#include "capture/linux/wayland/ScreencopyClient.h"

#include "wlr-screencopy-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <string>

namespace tovrik::capture {

struct ScreencopyClient::Output {
    unsigned globalName = 0;
    wl_output* proxy = nullptr;
    std::string name;
    int x = 0;
    int y = 0;
    int width = 0; // current mode, physical pixels
    int height = 0;
    int scale = 1;
    int transform = WL_OUTPUT_TRANSFORM_NORMAL;

    ~Output() {
        if (proxy != nullptr) {
            wl_output_destroy(proxy);
        }
    }

    [[nodiscard]] OutputInfo Info() const {
        const bool turned = (transform & 1) != 0; // 90 and 270 degrees, flipped or not
        const int physicalWidth = turned ? height : width;
        const int physicalHeight = turned ? width : height;
        const int factor = std::max(scale, 1);
        return {.name = name,
                .logical = {x, y, x + physicalWidth / factor, y + physicalHeight / factor},
                .scale = factor,
                .physicalWidth = physicalWidth,
                .physicalHeight = physicalHeight};
    }
};

namespace {

using Clock = std::chrono::steady_clock;

const wl_output_listener kOutputListener = {
    .geometry =
        [](void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t, const char*, const char*,
           int32_t transform) {
            auto* output = static_cast<ScreencopyClient::Output*>(data);
            output->x = x;
            output->y = y;
            output->transform = transform;
        },
    .mode =
        [](void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
            if ((flags & WL_OUTPUT_MODE_CURRENT) != 0) {
                auto* output = static_cast<ScreencopyClient::Output*>(data);
                output->width = width;
                output->height = height;
            }
        },
    .done = [](void*, wl_output*) {},
    .scale = [](void* data, wl_output*,
                int32_t factor) { static_cast<ScreencopyClient::Output*>(data)->scale = factor; },
    .name = [](void* data, wl_output*, const char* name) { static_cast<ScreencopyClient::Output*>(data)->name = name; },
    .description = [](void*, wl_output*, const char*) {},
};

// A shared-memory buffer that the compositor copies one output into.
class ShmBuffer {
public:
    ShmBuffer() = default;
    ShmBuffer(const ShmBuffer&) = delete;
    ShmBuffer& operator=(const ShmBuffer&) = delete;
    ~ShmBuffer() {
        if (m_buffer != nullptr) {
            wl_buffer_destroy(m_buffer);
        }
        if (m_data != MAP_FAILED) {
            munmap(m_data, m_size);
        }
        if (m_fd >= 0) {
            close(m_fd);
        }
    }

    [[nodiscard]] bool Create(wl_shm* shm, unsigned format, int width, int height, int stride) {
        m_size = static_cast<std::size_t>(stride) * static_cast<std::size_t>(height);
        m_fd = memfd_create("tovrik-screencopy", MFD_CLOEXEC);
        if (m_fd < 0 || ftruncate(m_fd, static_cast<off_t>(m_size)) != 0) {
            return false;
        }
        m_data = mmap(nullptr, m_size, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, 0);
        if (m_data == MAP_FAILED) {
            return false;
        }
        wl_shm_pool* pool = wl_shm_create_pool(shm, m_fd, static_cast<int32_t>(m_size));
        m_buffer = wl_shm_pool_create_buffer(pool, 0, width, height, stride, format);
        wl_shm_pool_destroy(pool);
        return m_buffer != nullptr;
    }

    [[nodiscard]] wl_buffer* Buffer() const { return m_buffer; }
    [[nodiscard]] const unsigned char* Data() const { return static_cast<const unsigned char*>(m_data); }

private:
    int m_fd = -1;
    void* m_data = MAP_FAILED;
    std::size_t m_size = 0;
    wl_buffer* m_buffer = nullptr;
};

// One output's copy in flight.
struct FrameCopy {
    wl_shm* shm = nullptr;
    zwlr_screencopy_frame_v1* frame = nullptr;
    bool announcesBufferDone = false;
    unsigned format = 0;
    int width = 0;
    int height = 0;
    int stride = 0;
    bool offered = false;
    bool yInverted = false;
    bool ready = false;
    bool failed = false;
    ShmBuffer buffer;

    FrameCopy() = default;
    FrameCopy(const FrameCopy&) = delete;
    FrameCopy& operator=(const FrameCopy&) = delete;
    ~FrameCopy() {
        if (frame != nullptr) {
            zwlr_screencopy_frame_v1_destroy(frame);
        }
    }

    [[nodiscard]] bool Finished() const { return ready || failed; }

    void StartCopy() {
        if (!offered || !buffer.Create(shm, format, width, height, stride)) {
            failed = true;
            return;
        }
        zwlr_screencopy_frame_v1_copy(frame, buffer.Buffer());
    }
};

const zwlr_screencopy_frame_v1_listener kFrameListener = {
    .buffer =
        [](void* data, zwlr_screencopy_frame_v1*, uint32_t format, uint32_t width, uint32_t height, uint32_t stride) {
            auto* copy = static_cast<FrameCopy*>(data);
            // Only the first shared-memory offer counts; later versions may add dma-buf ones.
            if (copy->offered) {
                return;
            }
            copy->offered = true;
            copy->format = format;
            copy->width = static_cast<int>(width);
            copy->height = static_cast<int>(height);
            copy->stride = static_cast<int>(stride);
            if (!copy->announcesBufferDone) {
                copy->StartCopy();
            }
        },
    .flags =
        [](void* data, zwlr_screencopy_frame_v1*, uint32_t flags) {
            static_cast<FrameCopy*>(data)->yInverted = (flags & ZWLR_SCREENCOPY_FRAME_V1_FLAGS_Y_INVERT) != 0;
        },
    .ready = [](void* data, zwlr_screencopy_frame_v1*, uint32_t, uint32_t,
                uint32_t) { static_cast<FrameCopy*>(data)->ready = true; },
    .failed = [](void* data, zwlr_screencopy_frame_v1*) { static_cast<FrameCopy*>(data)->failed = true; },
    .damage = [](void*, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t, uint32_t) {},
    .linux_dmabuf = [](void*, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t) {},
    .buffer_done = [](void* data, zwlr_screencopy_frame_v1*) { static_cast<FrameCopy*>(data)->StartCopy(); },
};

// Dispatches the connection's events until the condition holds; false on a timeout or a
// broken connection.
bool DispatchUntil(wl_display* display, const std::function<bool()>& done, int timeoutMs) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        while (wl_display_prepare_read(display) != 0) {
            if (wl_display_dispatch_pending(display) < 0) {
                return false;
            }
        }
        if (done()) {
            wl_display_cancel_read(display);
            break;
        }
        wl_display_flush(display);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd descriptor{.fd = wl_display_get_fd(display), .events = POLLIN, .revents = 0};
        if (left <= 0 || poll(&descriptor, 1, static_cast<int>(left)) <= 0) {
            wl_display_cancel_read(display);
            return false;
        }
        if (wl_display_read_events(display) < 0 || wl_display_dispatch_pending(display) < 0) {
            return false;
        }
    }
    return wl_display_get_error(display) == 0;
}

// One output's pixels into the picture, as B, G, R, A bytes.
bool CopyPixels(const FrameCopy& copy, const Rect& physical, const Rect& area, ui::Bitmap& picture) {
    const bool swapRedBlue = copy.format == WL_SHM_FORMAT_XBGR8888 || copy.format == WL_SHM_FORMAT_ABGR8888;
    if (!swapRedBlue && copy.format != WL_SHM_FORMAT_XRGB8888 && copy.format != WL_SHM_FORMAT_ARGB8888) {
        return false;
    }
    const Rect target = physical.Intersected(area);
    const int width = std::min(target.Width(), copy.width - (target.left - physical.left));
    const int height = std::min(target.Height(), copy.height - (target.top - physical.top));
    for (int row = 0; row < height; ++row) {
        const int sourceRow = target.top - physical.top + row;
        const int storedRow = copy.yInverted ? copy.height - 1 - sourceRow : sourceRow;
        const unsigned char* source = copy.buffer.Data() +
                                      static_cast<std::size_t>(storedRow) * static_cast<std::size_t>(copy.stride) +
                                      static_cast<std::size_t>(target.left - physical.left) * 4;
        unsigned char* destination = picture.pixels.data() +
                                     static_cast<std::size_t>(target.top - area.top + row) * picture.Stride() +
                                     static_cast<std::size_t>(target.left - area.left) * 4;
        if (!swapRedBlue) {
            std::memcpy(destination, source, static_cast<std::size_t>(width) * 4);
            continue;
        }
        for (int column = 0; column < width; ++column) {
            destination[column * 4 + 0] = source[column * 4 + 2];
            destination[column * 4 + 1] = source[column * 4 + 1];
            destination[column * 4 + 2] = source[column * 4 + 0];
            destination[column * 4 + 3] = source[column * 4 + 3];
        }
    }
    return true;
}

} // namespace

ScreencopyClient::ScreencopyClient() {
    m_display = wl_display_connect(nullptr);
    if (m_display == nullptr) {
        return;
    }
    static const wl_registry_listener listener = {.global = OnGlobal, .global_remove = OnGlobalRemove};
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &listener, this);
    // The globals, then the outputs' first descriptions.
    if (!Roundtrip() || !Roundtrip()) {
        m_manager = nullptr;
    }
}

ScreencopyClient::~ScreencopyClient() {
    m_outputs.clear();
    if (m_manager != nullptr) {
        zwlr_screencopy_manager_v1_destroy(m_manager);
    }
    if (m_shm != nullptr) {
        wl_shm_destroy(m_shm);
    }
    if (m_registry != nullptr) {
        wl_registry_destroy(m_registry);
    }
    if (m_display != nullptr) {
        wl_display_disconnect(m_display);
    }
}

void ScreencopyClient::OnGlobal(void* data, wl_registry* registry, unsigned name, const char* interface,
                                unsigned version) {
    auto* self = static_cast<ScreencopyClient*>(data);
    if (std::strcmp(interface, wl_shm_interface.name) == 0 && self->m_shm == nullptr) {
        self->m_shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
    } else if (std::strcmp(interface, zwlr_screencopy_manager_v1_interface.name) == 0 && self->m_manager == nullptr) {
        self->m_manager = static_cast<zwlr_screencopy_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_screencopy_manager_v1_interface, std::min(version, 3U)));
    } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
        auto output = std::make_unique<Output>();
        output->globalName = name;
        output->proxy =
            static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, std::min(version, 4U)));
        wl_output_add_listener(output->proxy, &kOutputListener, output.get());
        self->m_outputs.push_back(std::move(output));
    }
}

void ScreencopyClient::OnGlobalRemove(void* data, wl_registry*, unsigned name) {
    auto& outputs = static_cast<ScreencopyClient*>(data)->m_outputs;
    std::erase_if(outputs, [name](const std::unique_ptr<Output>& output) { return output->globalName == name; });
}

bool ScreencopyClient::Roundtrip() {
    bool done = false;
    static const wl_callback_listener listener = {.done = [](void* flag, wl_callback* callback, uint32_t) {
        *static_cast<bool*>(flag) = true;
        wl_callback_destroy(callback);
    }};
    wl_callback* callback = wl_display_sync(m_display);
    wl_callback_add_listener(callback, &listener, &done);
    if (!DispatchUntil(
            m_display, [&done] { return done; }, kGrabTimeoutMs)) {
        // The callback stays with the broken connection, which the destructor closes.
        return false;
    }
    return true;
}

bool ScreencopyClient::Available() const {
    return m_display != nullptr && m_manager != nullptr && m_shm != nullptr;
}

OutputLayout ScreencopyClient::Layout() {
    if (!Available() || !Roundtrip()) {
        return {};
    }
    std::vector<OutputInfo> outputs;
    for (const auto& output : m_outputs) {
        if (output->width > 0 && output->height > 0) {
            outputs.push_back(output->Info());
        }
    }
    return OutputLayout(std::move(outputs));
}

bool ScreencopyClient::Grab(const OutputLayout& layout, const Rect& area, ui::Bitmap& pictureOut) {
    if (!Available() || !area.HasArea()) {
        return false;
    }
    // Every output is asked at once; the compositor copies each on its next frame.
    std::vector<std::unique_ptr<FrameCopy>> copies;
    std::vector<std::size_t> places;
    for (std::size_t i = 0; i < layout.Outputs().size(); ++i) {
        const OutputInfo& info = layout.Outputs()[i];
        const auto found = std::find_if(m_outputs.begin(), m_outputs.end(),
                                        [&info](const std::unique_ptr<Output>& o) { return o->Info() == info; });
        if (found == m_outputs.end() || layout.Physical()[i].Intersected(area).IsEmpty()) {
            continue;
        }
        auto copy = std::make_unique<FrameCopy>();
        copy->shm = m_shm;
        copy->frame = zwlr_screencopy_manager_v1_capture_output(m_manager, 0, (*found)->proxy);
        copy->announcesBufferDone = zwlr_screencopy_frame_v1_get_version(copy->frame) >= 3;
        zwlr_screencopy_frame_v1_add_listener(copy->frame, &kFrameListener, copy.get());
        copies.push_back(std::move(copy));
        places.push_back(i);
    }
    if (copies.empty()) {
        return false;
    }
    const bool finished = DispatchUntil(
        m_display,
        [&copies] { return std::all_of(copies.begin(), copies.end(), [](const auto& c) { return c->Finished(); }); },
        kGrabTimeoutMs);
    if (!finished) {
        return false;
    }
    pictureOut.width = area.Width();
    pictureOut.height = area.Height();
    pictureOut.pixels.assign(pictureOut.Stride() * static_cast<std::size_t>(pictureOut.height), 0);
    for (std::size_t k = 0; k < copies.size(); ++k) {
        if (copies[k]->failed || !CopyPixels(*copies[k], layout.Physical()[places[k]], area, pictureOut)) {
            return false;
        }
    }
    return true;
}

} // namespace tovrik::capture
