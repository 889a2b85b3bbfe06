#include "capture/PathText.h"

namespace tovrik::capture {

namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::size_t CharLength(TextView text, std::size_t index) {
    const auto byte = static_cast<unsigned char>(text[index]);
    return (byte >= 0x81 && byte <= 0xFE && index + 1 < text.size()) ? 2 : 1;
}

Text NormalisePath(TextView path, char separator) {
    Text result;
    result.reserve(path.size());
    std::size_t i = 0;
    if (separator == '\\' && path.starts_with("\\\\")) {
        result = "\\\\";
        i = 2;
    }
    while (i < path.size()) {
        const std::size_t length = CharLength(path, i);
        if (length == 1 && IsSeparator(path[i])) {
            result += separator;
            i += (i + 1 < path.size() && IsSeparator(path[i + 1])) ? 2 : 1;
        } else {
            result.append(path.substr(i, length));
            i += length;
        }
    }
    return result;
}

Text PathExtension(TextView path) {
    std::size_t lastDot = TextView::npos;
    for (std::size_t i = 0; i < path.size(); i += CharLength(path, i)) {
        if (IsSeparator(path[i])) {
            lastDot = TextView::npos;
        } else if (path[i] == '.') {
            lastDot = i;
        }
    }
    return lastDot == TextView::npos ? Text{} : Text(path.substr(lastDot + 1));
}

bool EndsWithIgnoringCase(TextView text, TextView suffix) {
    if (suffix.size() > text.size()) {
        return false;
    }
    const TextView tail = text.substr(text.size() - suffix.size());
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        if (LowerAscii(tail[i]) != LowerAscii(suffix[i])) {
            return false;
        }
    }
    return true;
}

} // namespace tovrik::capture
