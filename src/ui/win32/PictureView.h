#pragma once

#include "text/Types.h"

#include <windows.h>

namespace tovrik::ui::win32 {

// The window class of picture boxes: an encoded image (PNG, JPEG, BMP, GIF, TIFF) drawn scaled
// to fit the box, keeping its aspect, centred on the window's background.
inline constexpr const wchar_t* kPictureClass = L"TovrikPicture";

[[nodiscard]] bool RegisterPictureClass(HINSTANCE instance);
// Decodes and shows the image; empty or undecodable bytes leave the box empty.
void ShowPicture(HWND view, BytesView image);
// Whether the box holds a decoded image.
[[nodiscard]] bool HasPicture(HWND view);

} // namespace tovrik::ui::win32
