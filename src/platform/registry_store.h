#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The per-user registry, kept as a small typed store in registry.ini in the program's folder
// (kProgramFolderName) in $XDG_CONFIG_HOME.
// A key is a path such as "Software\PL3094V"; a value is a 32-bit number or a string, and the
// type survives a round trip, so a value stored with the wrong type can be told apart. Key paths
// and value names match without regard to case. Every call sees the file as it is on disk (it is
// parsed again only when it changed), and every change rewrites it in one step. A file that exists
// but cannot be read is never rewritten: its keys read as absent and every change fails.
namespace tavrix::platform {

inline constexpr const char* kProgramRegistryKey = "Software\\PL3094V";

enum class RegistryType { Number, String };

struct RegistryValue {
    RegistryType type = RegistryType::Number;
    uint32_t number = 0;
    std::string text;
};

// The file that holds the store.
std::string RegistryFilePath();

// The value under the key path, or nothing when it (or the key) is absent; the file is read once.
std::optional<RegistryValue> QueryRegistryValue(const std::string& keyPath, const std::string& name);

class RegistryKey {
public:
    // The key when it exists.
    static std::optional<RegistryKey> Open(const std::string& path);
    // The key, created (with its folder and file) when it does not exist yet; nothing when it can
    // be neither opened nor created.
    static std::optional<RegistryKey> Create(const std::string& path);

    const std::string& Path() const { return m_path; }

    // The value, or nothing when it (or the key) is absent.
    std::optional<RegistryValue> Query(const std::string& name) const;
    // A number value; nothing when absent or stored as a string.
    std::optional<uint32_t> QueryNumber(const std::string& name) const;

    // Store a value, replacing one of the same name whatever its type. False when the key is
    // gone or the file cannot be written.
    [[nodiscard]] bool SetNumber(const std::string& name, uint32_t number) const;
    [[nodiscard]] bool SetString(const std::string& name, const std::string& text) const;

private:
    explicit RegistryKey(std::string path) : m_path(std::move(path)) {}

    [[nodiscard]] bool Set(const std::string& name, const RegistryValue& value) const;

    std::string m_path;
};

} // namespace tavrix::platform
