#include "capture/linux/OverlayCursor.h"

namespace tovrik::capture {

Qt::CursorShape QtCursorShape(Cursor cursor) {
    switch (cursor) {
    case Cursor::SizeNwse:
        return Qt::SizeFDiagCursor;
    case Cursor::SizeNesw:
        return Qt::SizeBDiagCursor;
    case Cursor::SizeWe:
        return Qt::SizeHorCursor;
    case Cursor::SizeNs:
        return Qt::SizeVerCursor;
    case Cursor::SizeAll:
        return Qt::SizeAllCursor;
    case Cursor::Arrow:
        break;
    }
    return Qt::ArrowCursor;
}

} // namespace tovrik::capture
