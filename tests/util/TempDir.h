#pragma once

#include "text/Types.h"

namespace tovrik::testing {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes. The path is program text (GBK), ready for the files module.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    [[nodiscard]] const Text& Path() const { return m_path; }

private:
    Text m_path;
};

} // namespace tovrik::testing
