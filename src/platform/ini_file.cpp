#include "platform/ini_file.h"

#include <optional>
#include <string_view>
#include <vector>

#include "platform/file_cache.h"
#include "platform/utf.h"

namespace tavrix::platform {

namespace {

// Far more than any language, skin or settings file holds; a larger file is refused rather than
// read into memory.
constexpr uint64_t kMaxIniFileSize = 64u << 20;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";

enum class Encoding { Utf8, Utf8Bom, Utf16Le };

struct IniText {
    Encoding encoding = Encoding::Utf8;
    std::string newline = "\n";
    std::vector<std::string> lines;
};

std::string_view Trim(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view Unquote(std::string_view value)
{
    const bool quoted =
        value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
    return quoted ? value.substr(1, value.size() - 2) : value;
}

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

IniText DecodeIni(std::string_view bytes)
{
    IniText ini;
    std::string text;
    if (bytes.starts_with(kUtf16LeBom)) {
        ini.encoding = Encoding::Utf16Le;
        text = Utf16LeToUtf8(bytes.substr(kUtf16LeBom.size()));
    } else if (bytes.starts_with(kUtf8Bom)) {
        ini.encoding = Encoding::Utf8Bom;
        text = bytes.substr(kUtf8Bom.size());
    } else {
        text = bytes;
    }
    if (text.find("\r\n") != std::string::npos) {
        ini.newline = "\r\n";
    }
    ini.lines = SplitLines(text);
    return ini;
}

std::string EncodeIni(const IniText& ini)
{
    std::string text;
    for (const std::string& line : ini.lines) {
        text += line;
        text += ini.newline;
    }
    switch (ini.encoding) {
    case Encoding::Utf16Le:
        return std::string(kUtf16LeBom) + Utf8ToUtf16Le(text);
    case Encoding::Utf8Bom:
        return std::string(kUtf8Bom) + text;
    case Encoding::Utf8:
        break;
    }
    return text;
}

// The name of a section header line, or nothing when the line is not one.
std::optional<std::string_view> SectionName(std::string_view line)
{
    line = Trim(line);
    if (!line.starts_with('[')) {
        return std::nullopt;
    }
    const size_t close = line.find(']');
    return Trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

bool KeyMatches(std::string_view line, std::string_view key, std::string_view& value)
{
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos || !EqualsNoCase(Trim(line.substr(0, equals)), key)) {
        return false;
    }
    value = line.substr(equals + 1);
    return true;
}

struct Location {
    std::optional<size_t> sectionLine;
    std::optional<size_t> keyLine;
    // The raw value on the key line, viewing into that line; empty when there is no key line.
    std::string_view value;
    size_t sectionEnd = 0;
};

Location Find(const IniText& ini, std::string_view section, std::string_view key)
{
    Location where;
    for (size_t i = 0; i < ini.lines.size(); ++i) {
        const auto name = SectionName(ini.lines[i]);
        if (name) {
            if (where.sectionLine) {
                break;
            }
            if (EqualsNoCase(*name, section)) {
                where.sectionLine = i;
                where.sectionEnd = i + 1;
            }
            continue;
        }
        if (!where.sectionLine) {
            continue;
        }
        if (KeyMatches(ini.lines[i], key, where.value)) {
            where.keyLine = i;
            return where;
        }
        if (!Trim(ini.lines[i]).empty()) {
            where.sectionEnd = i + 1;
        }
    }
    return where;
}

std::string CutValue(std::string_view value)
{
    return std::string(CutToChars(value, kProfileStringMaxChars));
}

bool Writable(std::string_view name)
{
    return !Trim(name).empty() && name.find_first_of("\r\n=[]") == std::string_view::npos;
}

bool CanCarry(std::string_view section, std::string_view key, std::string_view value)
{
    return Writable(section) && Writable(key) && value.find_first_of("\r\n") == std::string_view::npos;
}

std::string ValueIn(const IniText& ini, const std::string& section, const std::string& key,
                    const std::string& defaultText)
{
    const Location where = Find(ini, Trim(section), Trim(key));
    if (!where.keyLine) {
        return CutValue(Trim(defaultText));
    }
    return CutValue(Unquote(Trim(where.value)));
}

void SetValue(IniText& ini, const std::string& section, const std::string& key, const std::string& value)
{
    const std::string line = std::string(Trim(key)) + "=" + value;
    const Location where = Find(ini, Trim(section), Trim(key));
    if (where.keyLine) {
        // The stored spelling of the key stays.
        std::string& existing = ini.lines[*where.keyLine];
        existing = std::string(Trim(existing.substr(0, existing.find('=')))) + "=" + value;
    } else if (where.sectionLine) {
        ini.lines.insert(ini.lines.begin() + static_cast<std::ptrdiff_t>(where.sectionEnd), line);
    } else {
        ini.lines.push_back("[" + std::string(Trim(section)) + "]");
        ini.lines.push_back(line);
    }
}

// Language texts and skin values are looked up hundreds of times at start: each file is decoded
// once per change.
FileCache<IniText> g_files(kMaxIniFileSize, DecodeIni);

} // namespace

std::string ReadPrivateProfileString(const std::string& section, const std::string& key, const std::string& defaultText,
                                     const std::string& path)
{
    const auto file = g_files.Get(path);
    if (file.result != ReadResult::Ok) {
        return CutValue(Trim(defaultText));
    }
    return ValueIn(*file.parsed, section, key, defaultText);
}

std::string ProfileStringIn(std::string_view bytes, const std::string& section, const std::string& key,
                            const std::string& defaultText)
{
    return ValueIn(DecodeIni(bytes), section, key, defaultText);
}

bool WritePrivateProfileString(const std::string& section, const std::string& key, const std::string& value,
                               const std::string& path)
{
    if (!CanCarry(section, key, value)) {
        return false;
    }
    const auto file = g_files.Get(path);
    if (file.result != ReadResult::Ok && file.result != ReadResult::Missing) {
        // Whatever it holds would be lost with the rewrite.
        ReportUnreadableFile(path, file.result);
        return false;
    }
    IniText ini = file.parsed ? *file.parsed : IniText{};
    SetValue(ini, section, key, value);
    return WriteFileAtomically(path, EncodeIni(ini));
}

std::optional<std::string> WithProfileString(std::string_view bytes, const std::string& section, const std::string& key,
                                             const std::string& value)
{
    if (!CanCarry(section, key, value)) {
        return std::nullopt;
    }
    IniText ini = DecodeIni(bytes);
    SetValue(ini, section, key, value);
    return EncodeIni(ini);
}

} // namespace tavrix::platform
