#include "ui/win32/OleDropTarget.h"

#include "ui/win32/WideText.h"

#include <shellapi.h>

#include <string>

namespace tovrik::ui::win32 {

namespace {

FORMATETC FileListFormat() {
    return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

} // namespace

OleDropTarget::OleDropTarget(HWND window, DropHandler handler) : m_window(window), m_handler(std::move(handler)) {}

OleDropTarget* OleDropTarget::Register(HWND window, DropHandler handler) {
    auto* target = new OleDropTarget(window, std::move(handler));
    if (FAILED(RegisterDragDrop(window, target))) {
        target->Release();
        return nullptr;
    }
    return target;
}

void OleDropTarget::Revoke() {
    RevokeDragDrop(m_window);
    m_handler = nullptr;
    Release();
}

HRESULT OleDropTarget::QueryInterface(REFIID id, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG OleDropTarget::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

ULONG OleDropTarget::Release() {
    const LONG left = InterlockedDecrement(&m_references);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

HRESULT OleDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    FORMATETC format = FileListFormat();
    m_acceptable = data != nullptr && data->QueryGetData(&format) == S_OK;
    *effect = m_acceptable ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT OleDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
    *effect = m_acceptable ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT OleDropTarget::DragLeave() {
    m_acceptable = false;
    return S_OK;
}

HRESULT OleDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    *effect = DROPEFFECT_NONE;
    FORMATETC format = FileListFormat();
    STGMEDIUM medium{};
    if (data == nullptr || FAILED(data->GetData(&format, &medium))) {
        return S_OK;
    }
    std::vector<Text> files;
    if (auto* drop = static_cast<HDROP>(GlobalLock(medium.hGlobal))) {
        files = DroppedFiles(drop);
        GlobalUnlock(medium.hGlobal);
    }
    ReleaseStgMedium(&medium);
    *effect = DROPEFFECT_COPY;
    // Copied: the handler may destroy the window, and with it this target.
    const DropHandler handler = m_handler;
    if (handler && !files.empty()) {
        AddRef();
        handler(std::move(files));
        Release();
    }
    return S_OK;
}

std::vector<Text> DroppedFiles(HDROP drop) {
    std::vector<Text> files;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0) {
            continue;
        }
        std::wstring name(length + 1, L'\0');
        DragQueryFileW(drop, i, name.data(), length + 1);
        name.resize(length);
        files.push_back(Narrow(name));
    }
    return files;
}

} // namespace tovrik::ui::win32
