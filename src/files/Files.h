#pragma once

#include "text/Types.h"

#include <cstddef>
#include <optional>

// The file system as the program sees it. Paths are program text (code page 936) with the
// platform's separator; each backend converts them at the edge (UTF-8 on Linux, UTF-16 on
// Windows) so that Chinese folder names such as "截图" work on both.
namespace tovrik::files {

// Files larger than this are not read whole into memory.
inline constexpr std::size_t kMaxReadSize = 256u * 1024 * 1024;

[[nodiscard]] char PathSeparator();
[[nodiscard]] Text JoinPath(TextView directory, TextView name);

// Regular files only: a named pipe, a device or a folder is refused without waiting on it.
[[nodiscard]] std::optional<Bytes> ReadFile(TextView path, std::size_t maxSize = kMaxReadSize);
// At most the first count bytes of a regular file (fewer when it is shorter), without reading
// the rest; nothing for a file that is not a regular one or cannot be read.
[[nodiscard]] std::optional<Bytes> ReadFileHead(TextView path, std::size_t count);
// Replaces the whole file (creating it if needed). When the data cannot all be written (a full
// disk), the file is removed rather than left cut short.
[[nodiscard]] bool WriteFile(TextView path, BytesView data);
// Writes a temporary file beside the target and renames it over the target, so a crash never
// leaves a torn file.
[[nodiscard]] bool WriteFileAtomic(TextView path, BytesView data);
[[nodiscard]] bool RemoveFile(TextView path);
// Renames the file, replacing a file of the new name.
[[nodiscard]] bool RenameFile(TextView from, TextView to);
[[nodiscard]] bool FileExists(TextView path);
[[nodiscard]] bool DirectoryExists(TextView path);
// Creates the directory and any missing parents; true when it exists afterwards.
[[nodiscard]] bool CreateDirectories(TextView path);
[[nodiscard]] bool IsWritableDirectory(TextView path);

// Folder of the running executable, without a trailing separator.
[[nodiscard]] Text ExecutableDirectory();
// Full path of the running executable.
[[nodiscard]] Text ExecutablePath();

} // namespace tovrik::files
