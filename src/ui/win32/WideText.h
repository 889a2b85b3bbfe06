#pragma once

#include "text/Types.h"

#include <string>
#include <string_view>

// Program text (code page 936) and the UTF-16 of the wide Windows functions. The backend calls
// the wide functions throughout, so our texts come out right whatever the system's ANSI code
// page is.
namespace tovrik::ui::win32 {

[[nodiscard]] std::wstring Wide(TextView text);
[[nodiscard]] Text Narrow(std::wstring_view text);
// UTF-8, for the test hook's report.
[[nodiscard]] std::string Utf8(TextView text);

} // namespace tovrik::ui::win32
