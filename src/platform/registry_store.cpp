#include "platform/registry_store.h"

#include <charconv>
#include <mutex>
#include <string_view>
#include <vector>

#include "platform/file_cache.h"
#include "platform/folders.h"
#include "platform/utf.h"

namespace tavrix::platform {

namespace {

// File layout: "[key path]" lines, each followed by "name=number:<decimal>" or
// "name=string:<text>" lines; in the text a backslash, CR and LF are escaped as \\, \r and \n.
// Key paths and value names cannot hold line breaks, and names cannot hold '='.
constexpr std::string_view kNumberPrefix = "number:";
constexpr std::string_view kStringPrefix = "string:";
// Far more than the program ever stores; a larger file is refused rather than read into memory.
constexpr uint64_t kMaxStoreSize = 64u << 20;

struct Entry {
    std::string name;
    RegistryValue value;
};

struct Key {
    std::string path;
    std::vector<Entry> entries;
};

// Serialises read-modify-write within the process; the file itself is replaced atomically.
std::mutex g_storeMutex;

std::string Escape(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else {
            out += c;
        }
    }
    return out;
}

std::string Unescape(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

std::optional<RegistryValue> ParseValue(std::string_view data)
{
    RegistryValue value;
    if (data.starts_with(kStringPrefix)) {
        value.type = RegistryType::String;
        value.text = Unescape(data.substr(kStringPrefix.size()));
        return value;
    }
    if (!data.starts_with(kNumberPrefix)) {
        return std::nullopt;
    }
    const std::string_view digits = data.substr(kNumberPrefix.size());
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value.number);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

// Lines that are not understood are dropped; they cannot hold anything the program wrote.
std::vector<Key> Parse(std::string_view text)
{
    std::vector<Key> keys;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end;
        const std::string_view line(text.data() + start, end - start);
        start = end + 1;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            keys.push_back(Key{std::string(line.substr(1, line.size() - 2)), {}});
            continue;
        }
        const size_t equals = line.find('=');
        if (keys.empty() || equals == std::string_view::npos || equals == 0) {
            continue;
        }
        auto value = ParseValue(line.substr(equals + 1));
        if (value) {
            keys.back().entries.push_back(Entry{std::string(line.substr(0, equals)), std::move(*value)});
        }
    }
    return keys;
}

std::string Serialise(const std::vector<Key>& keys)
{
    std::string text;
    for (const Key& key : keys) {
        text += "[" + key.path + "]\n";
        for (const Entry& entry : key.entries) {
            text += entry.name + "=";
            text += entry.value.type == RegistryType::Number
                        ? std::string(kNumberPrefix) + std::to_string(entry.value.number)
                        : std::string(kStringPrefix) + Escape(entry.value.text);
            text += "\n";
        }
    }
    return text;
}

// The language is looked up with every text: the file is parsed once per change.
FileCache<std::vector<Key>> g_file(kMaxStoreSize, Parse);

// The keys in the file (none when there is no file), or null when the file exists but cannot be
// read: then nothing may be written, or every value in it would be lost.
std::shared_ptr<const std::vector<Key>> Load()
{
    const std::string path = RegistryFilePath();
    auto file = g_file.Get(path);
    if (file.result == ReadResult::Missing) {
        return std::make_shared<const std::vector<Key>>();
    }
    if (file.result != ReadResult::Ok) {
        ReportUnreadableFile(path, file.result);
    }
    return std::move(file.parsed);
}

bool Save(const std::vector<Key>& keys)
{
    const std::string path = RegistryFilePath();
    return MakeFolders(path.substr(0, path.rfind('/'))) && WriteFileAtomically(path, Serialise(keys));
}

template <typename Keys> auto FindKey(Keys& keys, std::string_view path) -> decltype(&keys.front())
{
    for (auto& key : keys) {
        if (EqualsNoCase(key.path, path)) {
            return &key;
        }
    }
    return nullptr;
}

} // namespace

std::string RegistryFilePath()
{
    return ConfigFolder() + "/" + kProgramFolderName + "/registry.ini";
}

std::optional<RegistryKey> RegistryKey::Open(const std::string& path)
{
    std::lock_guard lock(g_storeMutex);
    const auto keys = Load();
    if (!keys || FindKey(*keys, path) == nullptr) {
        return std::nullopt;
    }
    return RegistryKey(path);
}

std::optional<RegistryKey> RegistryKey::Create(const std::string& path)
{
    if (path.empty() || path.find_first_of("\r\n") != std::string::npos) {
        return std::nullopt;
    }
    std::lock_guard lock(g_storeMutex);
    const auto loaded = Load();
    if (!loaded) {
        return std::nullopt;
    }
    if (FindKey(*loaded, path) != nullptr) {
        return RegistryKey(path);
    }
    std::vector<Key> keys = *loaded;
    keys.push_back(Key{path, {}});
    if (!Save(keys)) {
        return std::nullopt;
    }
    return RegistryKey(path);
}

std::optional<RegistryValue> QueryRegistryValue(const std::string& keyPath, const std::string& name)
{
    std::lock_guard lock(g_storeMutex);
    const auto keys = Load();
    const Key* key = keys ? FindKey(*keys, keyPath) : nullptr;
    if (key == nullptr) {
        return std::nullopt;
    }
    for (const Entry& entry : key->entries) {
        if (EqualsNoCase(entry.name, name)) {
            return entry.value;
        }
    }
    return std::nullopt;
}

std::optional<RegistryValue> RegistryKey::Query(const std::string& name) const
{
    return QueryRegistryValue(m_path, name);
}

std::optional<uint32_t> RegistryKey::QueryNumber(const std::string& name) const
{
    const auto value = Query(name);
    if (!value || value->type != RegistryType::Number) {
        return std::nullopt;
    }
    return value->number;
}

bool RegistryKey::SetNumber(const std::string& name, uint32_t number) const
{
    return Set(name, RegistryValue{RegistryType::Number, number, {}});
}

bool RegistryKey::SetString(const std::string& name, const std::string& text) const
{
    return Set(name, RegistryValue{RegistryType::String, 0, text});
}

bool RegistryKey::Set(const std::string& name, const RegistryValue& value) const
{
    if (name.empty() || name.find_first_of("=\r\n") != std::string::npos) {
        return false;
    }
    std::lock_guard lock(g_storeMutex);
    const auto loaded = Load();
    if (!loaded) {
        return false;
    }
    std::vector<Key> keys = *loaded;
    Key* key = FindKey(keys, m_path);
    if (key == nullptr) {
        return false;
    }
    for (Entry& entry : key->entries) {
        if (EqualsNoCase(entry.name, name)) {
            entry.value = value;
            return Save(keys);
        }
    }
    key->entries.push_back(Entry{name, value});
    return Save(keys);
}

} // namespace tavrix::platform
