#include "files/Files.h"

#include "files/PathText.h"
#include "text/Encoding.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>

// The file system through the wide-character functions: program text paths are converted to
// UTF-16 at this edge, so names outside the ANSI code page's reach never come up.
namespace tovrik::files {

namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : m_handle(handle) {}
    ~FileHandle() { (void)Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    [[nodiscard]] HANDLE Get() const { return m_handle; }
    [[nodiscard]] bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    [[nodiscard]] bool Close() {
        if (m_handle == INVALID_HANDLE_VALUE) {
            return true;
        }
        const HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        return CloseHandle(handle) != 0;
    }

private:
    HANDLE m_handle;
};

std::wstring WidePath(TextView path) {
    const Bytes utf16 = text::LocalToWide(path);
    std::wstring wide(utf16.size() / 2, L'\0');
    std::memcpy(wide.data(), utf16.data(), wide.size() * 2);
    // The conversion's terminator is not part of the name.
    while (!wide.empty() && wide.back() == L'\0') {
        wide.pop_back();
    }
    return wide;
}

bool WriteAll(HANDLE file, BytesView data) {
    while (!data.empty()) {
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(data.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, data.data(), piece, &written, nullptr) || written == 0) {
            return false;
        }
        data.remove_prefix(written);
    }
    return true;
}

DWORD Attributes(TextView path) {
    return GetFileAttributesW(WidePath(path).c_str());
}

std::wstring TemporarySibling(const std::wstring& target) {
    static std::atomic<unsigned> counter{0};
    return target + L".tmp-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter++);
}

HANDLE CreateForWriting(const std::wstring& path, DWORD disposition, DWORD flags = FILE_ATTRIBUTE_NORMAL) {
    return CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, flags, nullptr);
}

// Only files on a disk: a named pipe, a console or another device could block the reader, and
// folders fail to open here anyway. Devices are told by their attributes before any open.
HANDLE OpenRegularFile(TextView path) {
    const std::wstring wide = WidePath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        return INVALID_HANDLE_VALUE;
    }
    const HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE && GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

} // namespace

char PathSeparator() {
    return '\\';
}

std::optional<Bytes> ReadFile(TextView path, std::size_t maxSize) {
    const FileHandle file(OpenRegularFile(path));
    LARGE_INTEGER size{};
    if (!file.IsOpen() || !GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > maxSize) {
        return std::nullopt;
    }
    Bytes content;
    content.reserve(static_cast<std::size_t>(size.QuadPart));
    char buffer[64 * 1024];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr)) {
            return std::nullopt;
        }
        if (got == 0) {
            return content;
        }
        if (content.size() + got > maxSize) {
            return std::nullopt;
        }
        content.append(buffer, got);
    }
}

std::optional<Bytes> ReadFileHead(TextView path, std::size_t count) {
    const FileHandle file(OpenRegularFile(path));
    if (!file.IsOpen()) {
        return std::nullopt;
    }
    Bytes head(count, '\0');
    std::size_t filled = 0;
    while (filled < count) {
        DWORD got = 0;
        if (!::ReadFile(file.Get(), head.data() + filled, static_cast<DWORD>(count - filled), &got, nullptr)) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        filled += got;
    }
    head.resize(filled);
    return head;
}

bool WriteFile(TextView path, BytesView data) {
    const std::wstring target = WidePath(path);
    FileHandle file(CreateForWriting(target, CREATE_ALWAYS));
    if (!file.IsOpen()) {
        return false;
    }
    const bool written = WriteAll(file.Get(), data);
    if (file.Close() && written) {
        return true;
    }
    DeleteFileW(target.c_str());
    return false;
}

bool WriteFileAtomic(TextView path, BytesView data) {
    const std::wstring target = WidePath(path);
    const std::wstring temporary = TemporarySibling(target);
    FileHandle file(CreateForWriting(temporary, CREATE_NEW));
    if (!file.IsOpen()) {
        return false;
    }
    // The data must be on disk before the move makes it the target.
    const bool written = WriteAll(file.Get(), data) && FlushFileBuffers(file.Get());
    if (file.Close() && written &&
        MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    DeleteFileW(temporary.c_str());
    return false;
}

bool RemoveFile(TextView path) {
    return DeleteFileW(WidePath(path).c_str()) != 0;
}

bool RenameFile(TextView from, TextView to) {
    return MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool FileExists(TextView path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(TextView path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CreateDirectories(TextView path) {
    if (path.empty()) {
        return false;
    }
    // Drive roots and UNC server names can't be created; their failures, like an existing
    // folder's, show only in the final check.
    for (const std::size_t offset : SeparatorOffsets(path)) {
        if (offset > 0) {
            CreateDirectoryW(WidePath(path.substr(0, offset)).c_str(), nullptr);
        }
    }
    CreateDirectoryW(WidePath(path).c_str(), nullptr);
    return DirectoryExists(path);
}

bool IsWritableDirectory(TextView path) {
    // Attributes and ACLs are hard to read right: try a file that removes itself.
    if (!DirectoryExists(path)) {
        return false;
    }
    const std::wstring probe = TemporarySibling(WidePath(JoinPath(path, ".write-test")));
    FileHandle file(CreateForWriting(probe, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE));
    return file.IsOpen();
}

Text ExecutablePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return text::WideToLocal(BytesView(reinterpret_cast<const char*>(buffer.data()), buffer.size() * 2));
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace tovrik::files
