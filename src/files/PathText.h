#pragma once

#include "text/Types.h"

#include <cstddef>
#include <vector>

// Paths as program text. A separator is '/' or the platform's own separator, and only where a
// character begins: in GBK the trail byte of a character can be 0x5C, the Windows separator.
namespace tovrik::files {

// Byte offsets of the separators in the path, in order.
[[nodiscard]] std::vector<std::size_t> SeparatorOffsets(TextView path);
// The path without its last component and the separator before it; a root keeps its separator.
[[nodiscard]] Text ParentDirectory(TextView path);

} // namespace tovrik::files
