#include "ui/win32/OleDropTarget.h"

#include <shlobj.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace tovrik::ui::win32 {
namespace {

// What the shell hands over for a drop: DROPFILES followed by wide names, each ended by a zero,
// the list ended by a second zero.
HGLOBAL ShellDrop(const std::wstring& names) {
    const std::size_t size = sizeof(DROPFILES) + (names.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.c_str(), names.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return memory;
}

TEST(Win32Drop, DroppedPathsBecomeProgramText) {
    HGLOBAL memory = ShellDrop(std::wstring(L"C:\\\u622A\u56FE\\a.png") + L'\0' + L"D:\\b c.jpg" + L'\0');
    EXPECT_THAT(DroppedFiles(static_cast<HDROP>(memory)), testing::ElementsAre("C:\\截图\\a.png", "D:\\b c.jpg"));
    GlobalFree(memory);
}

TEST(Win32Drop, AnEmptyDropGivesNoPaths) {
    HGLOBAL memory = ShellDrop(std::wstring(1, L'\0'));
    EXPECT_TRUE(DroppedFiles(static_cast<HDROP>(memory)).empty());
    GlobalFree(memory);
}

} // namespace
} // namespace tovrik::ui::win32
