#include "platform/app_profile.h"

#include <mutex>

#include "platform/registry_store.h"

namespace tavrix::platform {

namespace {

std::mutex g_rootMutex;
std::string g_root;

} // namespace

void SetRegistryKey(const std::string& company, const std::string& applicationTitle)
{
    std::lock_guard lock(g_rootMutex);
    g_root = "Software\\" + company + "\\" + applicationTitle;
}

std::string ProfileSectionKey(const std::string& section)
{
    std::lock_guard lock(g_rootMutex);
    return g_root.empty() ? std::string() : g_root + "\\" + section;
}

std::string GetProfileString(const std::string& section, const std::string& entry, const std::string& defaultText)
{
    const std::string path = ProfileSectionKey(section);
    const auto value = path.empty() ? std::nullopt : QueryRegistryValue(path, entry);
    if (!value) {
        return defaultText;
    }
    return value->type == RegistryType::String ? value->text : std::to_string(value->number);
}

bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value)
{
    const std::string path = ProfileSectionKey(section);
    const auto key = path.empty() ? std::nullopt : RegistryKey::Create(path);
    return key && key->SetString(entry, value);
}

} // namespace tavrix::platform
