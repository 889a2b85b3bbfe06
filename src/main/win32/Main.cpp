#include "CommandLineRun.h"
#include "ConsoleOutput.h"
#include "GuiApp.h"
#include "text/Encoding.h"

#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <vector>

namespace {

struct LocalFreeDeleter {
    void operator()(LPWSTR* block) const { LocalFree(block); }
};

// The wide command line, so that Chinese arguments survive whatever the console's code page is.
[[nodiscard]] std::vector<tovrik::Text> Arguments() {
    int count = 0;
    const std::unique_ptr<LPWSTR, LocalFreeDeleter> list(CommandLineToArgvW(GetCommandLineW(), &count));
    std::vector<tovrik::Text> arguments;
    for (int i = 1; list && i < count; ++i) {
        const std::wstring_view argument(list.get()[i]);
        const tovrik::Bytes utf16(reinterpret_cast<const char*>(argument.data()), argument.size() * sizeof(wchar_t));
        arguments.push_back(tovrik::text::WideToLocal(utf16));
    }
    return arguments;
}

} // namespace

int main() {
    const std::vector<tovrik::Text> arguments = Arguments();
    if (arguments.empty()) {
        return tovrik::RunGui();
    }
    tovrik::UseParentConsole();
    // Results are written as UTF-8 bytes; a console shows them right only in code page 65001.
    SetConsoleOutputCP(CP_UTF8);
    return tovrik::RunCommandLine(arguments);
}
