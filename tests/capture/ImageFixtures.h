#pragma once

#include "text/Types.h"

#include <vector>

namespace tovrik::capture::test {

// An image file written by one of the builds: FewColours(16, 8), or Smooth(16, 16) as a JPEG
// at quality 90 (lossy).
struct Fixture {
    const char* name;
    bool lossy;
    Bytes bytes;
};

extern const std::vector<Fixture> kImageFixtures;

} // namespace tovrik::capture::test
