#pragma once

#include "text/Types.h"
#include "ui/Bitmap.h"

namespace tovrik::ui {
class Clipboard;
}

namespace tovrik::capture {

class CaptureOverlay;

// The area chosen in one capture: runs the overlay, keeps a copy of the selected pixels and
// turns them into BMP bytes. Created empty for one capture.
class ScreenImage {
public:
    ScreenImage(CaptureOverlay& overlay, ui::Clipboard& clipboard) : m_overlay(overlay), m_clipboard(clipboard) {}

    // Runs the overlay; when the user finished with a selection, keeps it and, on request,
    // puts it on the clipboard (a busy clipboard is skipped silently). False when the
    // capture was cancelled, or at once while another overlay is open.
    [[nodiscard]] bool SelectArea(bool copyToClipboard);
    [[nodiscard]] int Width() const { return m_image.width; }
    [[nodiscard]] int Height() const { return m_image.height; }
    [[nodiscard]] const ui::Bitmap& Image() const { return m_image; }
    // The kept picture in the capture BMP layout (see BmpCodec.h); empty when there is none.
    [[nodiscard]] Bytes ToBmpBytes() const;

    // Copies the source's area (x, y, width, height) into the kept picture, resized to the
    // target size when that differs (each target pixel then averages the source pixels it
    // covers). Parts of the area outside the source come out black. Nothing when any size
    // is 0 or less. The kept pixels are opaque.
    void CopyFromDc(const ui::Bitmap& source, int x, int y, int width, int height, int targetWidth, int targetHeight);

private:
    void EnsureBitmap(int width, int height);

    CaptureOverlay& m_overlay;
    ui::Clipboard& m_clipboard;
    ui::Bitmap m_image;
};

} // namespace tovrik::capture
