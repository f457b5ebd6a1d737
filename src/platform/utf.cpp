#include "platform/utf.h"

#include <cstdint>

namespace tavrix::platform {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void AppendUtf16Le(std::string& out, char32_t cp)
{
    const auto put = [&out](uint32_t unit) {
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    };
    if (cp < 0x10000) {
        put(cp);
        return;
    }
    cp -= 0x10000;
    put(0xD800 | (cp >> 10));
    put(0xDC00 | (cp & 0x3FF));
}

// Length of the UTF-8 sequence starting with this byte, 0 for a byte that cannot start one.
size_t SequenceLength(unsigned char lead)
{
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

// Decodes one character at pos; returns its length in bytes (at least 1) and U+FFFD for a
// malformed sequence.
size_t DecodeUtf8(std::string_view text, size_t pos, char32_t& cp)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    const size_t length = SequenceLength(lead);
    if (length == 0 || pos + length > text.size()) {
        cp = kReplacement;
        return 1;
    }
    if (length == 1) {
        cp = lead;
        return 1;
    }
    char32_t value = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            cp = kReplacement;
            return 1;
        }
        value = (value << 6) | (next & 0x3F);
    }
    const bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    cp = (overlong || surrogate || value > 0x10FFFF) ? kReplacement : value;
    return length;
}

} // namespace

std::string Utf16LeToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    const size_t units = bytes.size() / 2;
    const auto unitAt = [&bytes](size_t i) {
        return static_cast<uint32_t>(static_cast<unsigned char>(bytes[2 * i])) |
               (static_cast<uint32_t>(static_cast<unsigned char>(bytes[2 * i + 1])) << 8);
    };
    for (size_t i = 0; i < units; ++i) {
        const uint32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units) {
            const uint32_t low = unitAt(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        AppendUtf8(out, (unit >= 0xD800 && unit <= 0xDFFF) ? kReplacement : unit);
    }
    return out;
}

std::string Utf8ToUtf16Le(std::string_view text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (size_t pos = 0; pos < text.size();) {
        char32_t cp = 0;
        pos += DecodeUtf8(text, pos, cp);
        AppendUtf16Le(out, cp);
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return Utf16LeToUtf8(bytes);
}

std::u16string Utf8ToUtf16(std::string_view text)
{
    const std::string bytes = Utf8ToUtf16Le(text);
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                              static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    return units;
}

std::string_view CutToChars(std::string_view text, size_t maxChars)
{
    size_t pos = 0;
    for (size_t count = 0; count < maxChars && pos < text.size(); ++count) {
        char32_t cp = 0;
        pos += DecodeUtf8(text, pos, cp);
    }
    return text.substr(0, pos);
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace tavrix::platform
