#include "files/Files.h"

#include "files/PathText.h"
#include "text/Encoding.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <optional>
#include <string>

// The file system in UTF-8: program text paths are converted at this edge.
namespace tovrik::files {

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() { (void)Close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    FileDescriptor& operator=(FileDescriptor&&) = delete;

    [[nodiscard]] int Get() const { return m_fd; }
    [[nodiscard]] bool IsOpen() const { return m_fd >= 0; }
    // Reports the close itself: a full disk can show up only here.
    [[nodiscard]] bool Close() {
        if (m_fd < 0) {
            return true;
        }
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

std::string NativePath(TextView path) {
    return text::TextToUtf8(path);
}

bool WriteAll(int fd, BytesView data) {
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Opened without waiting: a named pipe with no writer or a device would block a plain open.
// Anything but a regular file is closed again at once, unread.
FileDescriptor OpenRegularFile(TextView path) {
    FileDescriptor file(::open(NativePath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat info {};
    if (!file.IsOpen() || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return FileDescriptor(-1);
    }
    return file;
}

// Bytes read, 0 at the end, nothing on an error.
std::optional<std::size_t> ReadSome(int fd, char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(fd, buffer, size);
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            return std::nullopt;
        }
    }
}

bool StatPath(TextView path, struct stat& infoOut) {
    return ::stat(NativePath(path).c_str(), &infoOut) == 0;
}

// Failures (an existing folder among them) show in the caller's final check.
void MakeDirectory(TextView path) {
    (void)::mkdir(NativePath(path).c_str(), 0777);
}

// A name beside the target that no other writer in this or another process picks.
std::string TemporarySibling(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    return target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

} // namespace

char PathSeparator() {
    return '/';
}

std::optional<Bytes> ReadFile(TextView path, std::size_t maxSize) {
    const FileDescriptor file = OpenRegularFile(path);
    struct stat info {};
    if (!file.IsOpen() || ::fstat(file.Get(), &info) != 0 || static_cast<std::size_t>(info.st_size) > maxSize) {
        return std::nullopt;
    }
    Bytes content;
    content.reserve(static_cast<std::size_t>(info.st_size));
    // Read to the end rather than trusting the size: the file may grow meanwhile.
    char buffer[64 * 1024];
    for (;;) {
        const std::optional<std::size_t> got = ReadSome(file.Get(), buffer, sizeof buffer);
        if (!got) {
            return std::nullopt;
        }
        if (*got == 0) {
            return content;
        }
        if (content.size() + *got > maxSize) {
            return std::nullopt;
        }
        content.append(buffer, *got);
    }
}

std::optional<Bytes> ReadFileHead(TextView path, std::size_t count) {
    const FileDescriptor file = OpenRegularFile(path);
    if (!file.IsOpen()) {
        return std::nullopt;
    }
    Bytes head(count, '\0');
    std::size_t filled = 0;
    while (filled < count) {
        const std::optional<std::size_t> got = ReadSome(file.Get(), head.data() + filled, count - filled);
        if (!got) {
            return std::nullopt;
        }
        if (*got == 0) {
            break;
        }
        filled += *got;
    }
    head.resize(filled);
    return head;
}

bool WriteFile(TextView path, BytesView data) {
    const std::string target = NativePath(path);
    FileDescriptor file(::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!file.IsOpen()) {
        return false;
    }
    const bool written = WriteAll(file.Get(), data);
    struct stat info {};
    const bool regular = ::fstat(file.Get(), &info) == 0 && S_ISREG(info.st_mode);
    if (file.Close() && written) {
        return true;
    }
    // What was cut short goes; a device written to (/dev/full, say) stays.
    if (regular) {
        ::unlink(target.c_str());
    }
    return false;
}

bool WriteFileAtomic(TextView path, BytesView data) {
    const std::string target = NativePath(path);
    const std::string temporary = TemporarySibling(target);
    FileDescriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!file.IsOpen()) {
        return false;
    }
    // The data must be on disk before the rename makes it the target.
    const bool written = WriteAll(file.Get(), data) && ::fsync(file.Get()) == 0;
    if (file.Close() && written && ::rename(temporary.c_str(), target.c_str()) == 0) {
        return true;
    }
    ::unlink(temporary.c_str());
    return false;
}

bool RemoveFile(TextView path) {
    return ::unlink(NativePath(path).c_str()) == 0;
}

bool RenameFile(TextView from, TextView to) {
    return ::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0;
}

bool FileExists(TextView path) {
    struct stat info {};
    return StatPath(path, info) && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(TextView path) {
    struct stat info {};
    return StatPath(path, info) && S_ISDIR(info.st_mode);
}

bool CreateDirectories(TextView path) {
    if (path.empty()) {
        return false;
    }
    for (const std::size_t offset : SeparatorOffsets(path)) {
        if (offset > 0) {
            MakeDirectory(path.substr(0, offset));
        }
    }
    MakeDirectory(path);
    return DirectoryExists(path);
}

bool IsWritableDirectory(TextView path) {
    // Permission bits don't tell (root, read-only mounts): try a file.
    if (!DirectoryExists(path)) {
        return false;
    }
    const std::string probe = TemporarySibling(NativePath(JoinPath(path, ".write-test")));
    FileDescriptor file(::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!file.IsOpen()) {
        return false;
    }
    (void)file.Close();
    ::unlink(probe.c_str());
    return true;
}

Text ExecutablePath() {
    std::string buffer(PATH_MAX, '\0');
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            buffer.resize(static_cast<std::size_t>(length));
            return text::Utf8ToText(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace tovrik::files
