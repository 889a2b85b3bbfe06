#pragma once

#include "text/Types.h"

#include <windows.h>

#include <ole2.h>
#include <shellapi.h>

#include <functional>
#include <vector>

namespace tovrik::ui::win32 {

// Files dragged from the shell onto a window (CF_HDROP), handed over as program text paths.
class OleDropTarget final : public IDropTarget {
public:
    using DropHandler = std::function<void(std::vector<Text> files)>;

    // Registers a new drop target on the window (RegisterDragDrop); null when OLE refuses.
    [[nodiscard]] static OleDropTarget* Register(HWND window, DropHandler handler);
    // RevokeDragDrop and the last reference of ours; call before the window is gone.
    void Revoke();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

private:
    OleDropTarget(HWND window, DropHandler handler);
    ~OleDropTarget() = default;

    HWND m_window;
    DropHandler m_handler;
    LONG m_references = 1;
    bool m_acceptable = false;
};

// The paths of a shell drop (DragQueryFileW), as program text.
[[nodiscard]] std::vector<Text> DroppedFiles(HDROP drop);

} // namespace tovrik::ui::win32
