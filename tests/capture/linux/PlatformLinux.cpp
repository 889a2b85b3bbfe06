#include "../Platform.h"

namespace tovrik::capture::test {

bool JpegQualityIsHonoured() {
    return true;
}

} // namespace tovrik::capture::test
