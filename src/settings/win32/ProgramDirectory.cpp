#include "settings/ProgramDirectory.h"

#include "files/Files.h"

namespace tovrik::settings {

Text ProgramDirectory() {
    return files::ExecutableDirectory();
}

} // namespace tovrik::settings
