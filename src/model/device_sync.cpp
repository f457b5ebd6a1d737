#include "model/device_sync.h"

#include <algorithm>
#include <array>
#include <new>
#include <optional>

#include "model/macro_area.h"
#include "model/text_format.h"
#include "platform/clock.h"

namespace tavrix::model {

namespace {

constexpr uint32_t kInitialisationPollMs = 50;

MacroSlotOf SlotsIn(const MacroStore& macros)
{
    return [&macros](uint32_t id) -> std::optional<size_t> {
        if (!HasMacro(macros, id)) {
            return std::nullopt;
        }
        return macros.MacroSlotOf(static_cast<uint16_t>(id));
    };
}

} // namespace

DeviceSync::DeviceSync(device::CommandSet& commands, SyncHost& host, std::recursive_mutex& modelLock,
                       std::recursive_mutex& applyLock)
    : m_commands(commands), m_host(host), m_modelLock(modelLock), m_applyLock(applyLock)
{
}

void DeviceSync::OnConnectionChanged(int deviceCount)
{
    const int last = m_lastDeviceCount;
    if (deviceCount == last) {
        return;
    }
    if (deviceCount > 0) {
        KeyboardArrived();
    } else if (last != 0) {
        m_commands.ForgetCurrentProfile();
        m_host.OnKeyboardRemoved();
    }
    WaitForInitialisation();
    m_host.ShowConnected(deviceCount > 0);
    m_lastDeviceCount = deviceCount;
    if (!m_host.IsStartHidden()) {
        if (deviceCount > 0) {
            m_host.ShowWindow();
        }
        m_host.SetStartHidden();
    }
}

void DeviceSync::KeyboardArrived()
{
    if (!ReadDefaultKeyTable()) {
        m_host.ShowMessage(Text("MAIN_DEFAULT_MATRIX_PROMPT"));
    }
    std::array<uint8_t, device::kInfoBlockSize> info{};
    if (m_commands.ReadInfoBlock(info) == device::kResultOk) {
        m_extraAreaCapacity = info[device::kInfoExtraUnitsOffset] * device::kExtraAreaUnit;
    }
    m_host.OnKeyboardArrived();
}

void DeviceSync::WaitForInitialisation() const
{
    while (!m_host.IsInitialisationComplete()) {
        platform::SleepMs(kInitialisationPollMs);
    }
}

bool DeviceSync::ReadDefaultKeyTable()
{
    KeyTable defaults{};
    if (m_commands.ReadDefaultTable(defaults) != device::kResultOk) {
        // A table read before stays: the keyboard's defaults never change.
        std::lock_guard lock(m_defaultTableMutex);
        return m_defaultTableKnown;
    }
    std::lock_guard lock(m_defaultTableMutex);
    m_defaultTable = defaults;
    m_defaultTableKnown = true;
    return true;
}

bool DeviceSync::HasDefaultKeyTable()
{
    {
        std::lock_guard lock(m_defaultTableMutex);
        if (m_defaultTableKnown) {
            return true;
        }
    }
    return ReadDefaultKeyTable();
}

KeyTable DeviceSync::DefaultKeyTable() const
{
    std::lock_guard lock(m_defaultTableMutex);
    return m_defaultTable;
}

bool DeviceSync::CanWriteKeyTables()
{
    // Encoded against an unknown (all-zero) default table, every key would send nothing.
    if (HasDefaultKeyTable()) {
        return true;
    }
    m_host.ShowMessage(Text("MAIN_DEFAULT_MATRIX_WRITE_PROMPT"));
    return false;
}

bool DeviceSync::CanWriteModel()
{
    if (!m_modelWhole) {
        m_host.ShowMessage(Text("MAIN_MODEL_UNREAD_PROMPT"));
        return false;
    }
    return CanWriteKeyTables();
}

bool DeviceSync::ReadKeyboard(ConfigModel& read)
{
    // Without the default key table no position can be told apart from its default.
    if (m_commands.GetCurrentProfile() < 0 || !HasDefaultKeyTable()) {
        return false;
    }
    const KeyTable defaults = DefaultKeyTable();
    for (int profile = 0; profile < device::kProfileCount; ++profile) {
        KeyTable table{};
        if (m_commands.ReadKeyTable(table, profile) != device::kResultOk) {
            return false;
        }
        read.image.blocks[profile] = DecodeProfileKeyTable(table, defaults);
    }
    std::array<uint8_t, kMacroAreaHeaderSize> header{};
    if (m_commands.ReadExtraArea(header) != device::kResultOk) {
        return false;
    }
    if (const std::optional<std::size_t> claimed = MacroAreaClaimedSize(header)) {
        // The total is the keyboard's word: never ask for more than its area holds.
        const std::size_t capacity = m_extraAreaCapacity;
        const std::size_t total = std::min<std::size_t>(*claimed, capacity > 0 ? capacity : kMaxMacroAreaSize);
        if (total > kMacroAreaHeaderSize) {
            std::vector<uint8_t> area(total);
            if (m_commands.ReadExtraArea(area) != device::kResultOk) {
                return false;
            }
            if (!read.macros.Assign(DecodeMacroArea(area, [this](std::string_view key) { return Text(key); }))) {
                return false;
            }
        }
    }
    ClearMissingMacroKeys(read);
    return true;
}

int DeviceSync::ReadKeyboardIntoModel(bool keepApply)
{
    const bool folderReady = EnsureDataFolder();
    ConfigModel read;
    const bool whole = ReadKeyboard(read);
    // The model comes from what was read, not from the cache file: a cache that cannot be written
    // must not leave the model empty.
    const bool cached = whole && folderReady && SaveModelToFile(read, CacheFilePath());
    {
        std::lock_guard lock(m_modelLock);
        FreeModel();
        if (whole) {
            m_model = std::move(read);
        }
        m_modelWhole = whole;
        m_host.OnModelReplaced();
    }
    if (!keepApply) {
        m_host.OnNothingToApply();
    }
    if (!whole) {
        m_host.ShowMessage(Text("MAIN_MODEL_UNREAD_PROMPT"));
    } else if (!cached) {
        m_host.ShowMessage(FormatWithText(Text("MAIN_CACHE_WRITE_PROMPT"), PathText(CacheFilePath())));
    }
    return 1;
}

DeviceSync::ApplyResult DeviceSync::SaveAndApply(bool allProfiles)
{
    std::lock_guard lock(m_modelLock);
    ApplyResult result{true};
    result.saved = SaveCacheFile(m_model);
    result.written = ApplyToKeyboard(allProfiles) != 0;
    return result;
}

DeviceSync::ApplyResult DeviceSync::RestoreFromFile(const std::filesystem::path& path)
{
    std::lock_guard lock(m_modelLock);
    if (!LoadProfileFile(path, m_model)) {
        return {};
    }
    m_modelWhole = true;
    return SaveAndApply(true);
}

DeviceSync::ApplyResult DeviceSync::RestoreFromBytes(std::span<const uint8_t> bytes)
{
    std::lock_guard lock(m_modelLock);
    if (!LoadProfileBytes(bytes, m_model)) {
        return {};
    }
    m_modelWhole = true;
    return SaveAndApply(true);
}

int DeviceSync::ApplyToKeyboard(bool allProfiles)
{
    std::lock_guard modelLock(m_modelLock);
    if (!CanWriteModel()) {
        return 0;
    }
    try {
        {
            std::lock_guard applyLock(m_applyLock);
            m_apply.blocks = m_model.image.blocks;
            m_apply.macros = m_model.macros;
        }
        return UploadToKeyboard(allProfiles);
    } catch (const std::bad_alloc&) {
        // The upload encodes everything before it sends anything: nothing was written.
        return 0;
    }
}

int DeviceSync::UploadToKeyboard(bool allProfiles)
{
    std::unique_lock applyLock(m_applyLock);
    const std::span<const MacroRecord> macros = m_apply.macros.Records();
    const MacroAreaSize sizes = MacroAreaSizes(macros);
    const std::size_t capacity = m_extraAreaCapacity;
    if (sizes.withoutNames > capacity) {
        applyLock.unlock();
        m_host.ShowMessage(Text("EXTRA_MACRO_TOO_LONG"));
        return 0;
    }
    const bool includeNames = sizes.withNames <= capacity;
    std::vector<uint8_t> area(includeNames ? sizes.withNames : sizes.withoutNames);
    if (!EncodeMacroArea(macros, area, includeNames)) {
        return 0;
    }

    std::vector<int> profiles;
    if (allProfiles) {
        for (int profile = 0; profile < device::kProfileCount; ++profile) {
            profiles.push_back(profile);
        }
    } else if (const int current = m_commands.GetCurrentProfile(); current >= 0) {
        profiles = {current};
    } else {
        // No profile to write the keys to: the macros alone would not match the keys.
        return 0;
    }
    std::vector<std::pair<int, KeyTable>> tables;
    const KeyTable defaults = DefaultKeyTable();
    for (const int profile : profiles) {
        const ProfileBlock& block = m_apply.blocks[static_cast<std::size_t>(profile)];
        tables.emplace_back(profile, EncodeProfileKeyTable(block, defaults, SlotsIn(m_apply.macros)));
    }

    // Every write is tried, as the keyboard expects the whole sequence; any failure is reported.
    const int written = m_commands.Configure([&] {
        int result = m_commands.WriteExtraArea(area);
        for (const auto& [profile, table] : tables) {
            const int tableWritten = m_commands.WriteKeyTable(table, profile);
            result = device::FirstFailure(result, tableWritten);
        }
        return result;
    });
    applyLock.unlock();

    if (!includeNames) {
        m_host.ShowMessage(Text("EXTRA_PROFILE_SPACE_TIGHT"));
    }
    return written == device::kResultOk ? 1 : 0;
}

void DeviceSync::FreeModel()
{
    std::lock_guard lock(m_modelLock);
    NewModel(m_model, 0);
}

} // namespace tavrix::model
