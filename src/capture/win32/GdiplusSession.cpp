#include "capture/win32/GdiplusSession.h"

namespace tovrik::capture::gdiplus {

GdiplusSession::GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    m_started = Gdiplus::GdiplusStartup(&m_token, &input, nullptr) == Gdiplus::Ok;
}

GdiplusSession::~GdiplusSession() {
    if (m_started) {
        Gdiplus::GdiplusShutdown(m_token);
    }
}

} // namespace tovrik::capture::gdiplus
