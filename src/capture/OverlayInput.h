#pragma once

#include "capture/Geometry.h"

namespace tovrik::capture {

// What the overlay window reports while it is shown. Positions are window pixels: (0, 0) is the
// window's top-left corner, which lies on the top-left corner of the virtual screen.
class OverlayInput {
public:
    virtual ~OverlayInput() = default;

    virtual void OnLeftButtonDown(Point pointer) = 0;
    virtual void OnLeftButtonUp(Point pointer) = 0;
    virtual void OnLeftDoubleClick(Point pointer) = 0;
    virtual void OnRightButtonUp(Point pointer) = 0;
    virtual void OnMouseMove(Point pointer) = 0;
    // Platform virtual-key code of a released key (27 is ESC).
    virtual void OnKeyUp(int virtualKey) = 0;
    // The window was asked to close (system menu, Alt+F4).
    virtual void OnCloseRequest() = 0;
};

} // namespace tovrik::capture
