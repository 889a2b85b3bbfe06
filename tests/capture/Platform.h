#pragma once

namespace tovrik::capture::test {

// Whether the platform's JPEG encoder follows the quality it is given (Wine's GDI+ ignores
// encoder parameters; Windows and libjpeg follow them).
[[nodiscard]] bool JpegQualityIsHonoured();

} // namespace tovrik::capture::test
