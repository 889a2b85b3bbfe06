#include "text/ParamList.h"

#include "text/Encoding.h"
#include "text/TextSearch.h"

#include <algorithm>

namespace tovrik::text {

namespace {

Text EncodeValue(TextView value, bool encode) {
    return encode ? UrlEncode(value, true, false) : Text(value);
}

} // namespace

void ParamList::AddPair(TextView name, TextView value, bool utf8) {
    m_names.push_back(utf8 ? TextToUtf8(name) : Text(name));
    m_values.push_back(utf8 ? TextToUtf8(value) : Text(value));
}

void ParamList::ParseQuery(TextView query, bool utf8) {
    if (query.empty()) {
        return;
    }
    // Every piece counts as a pair: one without "=" gives an empty name and value.
    for (const TextView piece : SplitText(query, "&")) {
        const std::size_t equals = piece.find('=');
        if (equals == TextView::npos) {
            AddPair({}, {}, utf8);
        } else {
            AddPair(piece.substr(0, equals), piece.substr(equals + 1), utf8);
        }
    }
}

Text ParamList::GetValue(TextView name) const {
    const auto found = std::find(m_names.begin(), m_names.end(), name);
    return found == m_names.end() ? Text() : m_values[static_cast<std::size_t>(found - m_names.begin())];
}

void ParamList::SetPair(TextView name, TextView value) {
    const auto found = std::find(m_names.begin(), m_names.end(), name);
    if (found == m_names.end()) {
        AddPair(name, value);
    } else {
        m_values[static_cast<std::size_t>(found - m_names.begin())] = Text(value);
    }
}

Text ParamList::FormText(bool encode) const {
    Text result;
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        if (i > 0) {
            result.push_back('&');
        }
        result.append(EncodeValue(m_names[i], encode));
        result.push_back('=');
        result.append(EncodeValue(m_values[i], encode));
    }
    return result;
}

Text ParamList::HeaderText(bool encode) const {
    Text result;
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        if (i > 0) {
            result.append("\r\n");
        }
        result.append(m_names[i]);
        result.append(": ");
        result.append(EncodeValue(m_values[i], encode));
    }
    return result;
}

void ParamList::ClearPairs() {
    m_names.clear();
    m_values.clear();
}

int ParamList::RemovePair(TextView name) {
    const auto found = std::find(m_names.begin(), m_names.end(), name);
    if (found == m_names.end()) {
        return 0;
    }
    const auto index = found - m_names.begin();
    m_names.erase(found);
    m_values.erase(m_values.begin() + index);
    return 1;
}

Text ParamList::JsonText() const {
    Text result = "{";
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        result.push_back('"');
        result.append(m_names[i]);
        result.append("\":\"");
        result.append(JsonEscape(m_values[i]));
        result.append("\",");
    }
    result = TrimSeparator(result, ",");
    result.push_back('}');
    return result;
}

Text ParamList::JsonEscape(TextView value) {
    // Beyond the double quote, backslashes and control characters are escaped too, or a value
    // holding one would end the string early or make the object invalid. A backslash byte that
    // is the trail byte of a GBK character belongs to that character and stays.
    Text result;
    result.reserve(value.size() + 2);
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto byte = static_cast<unsigned char>(value[i]);
        if (IsGbkLeadByte(byte) && i + 1 < value.size()) {
            result.append(value.substr(i, 2));
            ++i;
        } else if (byte == '"' || byte == '\\') {
            result.push_back('\\');
            result.push_back(static_cast<char>(byte));
        } else if (byte < 0x20) {
            constexpr char kHex[] = "0123456789abcdef";
            switch (byte) {
            case '\n':
                result.append("\\n");
                break;
            case '\r':
                result.append("\\r");
                break;
            case '\t':
                result.append("\\t");
                break;
            default:
                result.append("\\u00");
                result.push_back(kHex[byte >> 4]);
                result.push_back(kHex[byte & 15]);
                break;
            }
        } else {
            result.push_back(static_cast<char>(byte));
        }
    }
    return result;
}

Text ParamList::TrimSeparator(TextView text, TextView separator) {
    if (!separator.empty() && text.ends_with(separator)) {
        text.remove_suffix(separator.size());
    }
    if (!separator.empty() && text.starts_with(separator)) {
        text.remove_prefix(separator.size());
    }
    return Text(text);
}

} // namespace tovrik::text
