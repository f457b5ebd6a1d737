#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <span>
#include <vector>

#include "device/command_set.h"
#include "model/config_model.h"
#include "model/key_table_codec.h"
#include "model/model_editor.h"
#include "model/profile_file.h"

namespace tavrix::model {

// What synchronisation tells the main window. Calls come from the connection-state threads as
// well as from the window's own thread.
class SyncHost : public ProfileFileHost {
public:
    // The window finished its start-up: until then the connection routine waits.
    virtual bool IsInitialisationComplete() const = 0;
    // A keyboard arrived: the host reads it into the model (ReadKeyboardIntoModel, on the calling
    // thread) and shows the profile read; returns once it has.
    virtual void OnKeyboardArrived() = 0;
    // The keyboard went away: the editors close, and the window hides; returns once the editors
    // closed.
    virtual void OnKeyboardRemoved() = 0;
    // Whether a keyboard is there now, for the tray to show.
    virtual void ShowConnected(bool connected) = 0;
    // Shows the window, without waiting for it: the first keyboard found when the program was not
    // started hidden.
    virtual void ShowWindow() = 0;
    virtual bool IsStartHidden() const = 0;
    virtual void SetStartHidden() = 0;
    // The model was replaced: whatever shows it is shown anew. Called with the model lock held.
    virtual void OnModelReplaced() = 0;
    // The model holds what the keyboard holds: nothing waits to be applied.
    virtual void OnNothingToApply() = 0;
};

// Keeps the model in step with the keyboard: reads it on arrival and on request, writes the
// model back on apply. The model is guarded by the model lock, the apply copy by the second model
// lock; whoever needs both takes the model lock first.
class DeviceSync {
public:
    DeviceSync(device::CommandSet& commands, SyncHost& host, std::recursive_mutex& modelLock,
               std::recursive_mutex& applyLock);

    // The keyboard count changed (or start-up found it); runs on the device link's connection
    // thread, one change after another.
    void OnConnectionChanged(int deviceCount);
    // The keyboard's key tables and macros, all of them, as a model: false when any read fails,
    // the keyboard names no valid current profile, or its default key table stays unknown.
    [[nodiscard]] bool ReadKeyboard(ConfigModel& read);
    // Replaces the model with the keyboard's configuration and rewrites the cache file with it.
    // When the keyboard cannot be read whole, the model becomes empty and may not be written to
    // the keyboard, which the user is told. Returns 1.
    int ReadKeyboardIntoModel(bool keepApply);
    // What an apply or a restore from a file achieved.
    struct ApplyResult {
        bool loaded = false;  // the file loaded whole (a restore; an apply always has its model)
        bool saved = false;   // the cache file was rewritten
        bool written = false; // the keyboard took every write
    };
    // The apply: under the model lock, rewrites the cache file and writes the model to the
    // keyboard (every profile with allProfiles); both are tried even when the first fails.
    [[nodiscard]] ApplyResult SaveAndApply(bool allProfiles);
    // The restore: under the model lock, replaces the model with a profile file the user chose
    // and applies it to every profile. A file that does not load whole changes nothing.
    [[nodiscard]] ApplyResult RestoreFromFile(const std::filesystem::path& path);
    // The same with a profile file's bytes the user handed over (through the command line).
    [[nodiscard]] ApplyResult RestoreFromBytes(std::span<const uint8_t> bytes);
    // Writes the model's macros and the current profile's key table (every profile's with
    // allProfiles) to the keyboard: 1 when every write succeeded. Writes nothing, and returns 0,
    // unless CanWriteModel holds and everything was encoded. Call with the model lock held.
    [[nodiscard]] int ApplyToKeyboard(bool allProfiles);
    [[nodiscard]] int UploadToKeyboard(bool allProfiles);
    void FreeModel();

    // The model was read whole from the keyboard or loaded whole from a file the user chose: only
    // such a model is written to the keyboard.
    bool IsModelWhole() const { return m_modelWhole; }
    // Key tables can be encoded: the keyboard's default key table is known, read again now when
    // it was not. Otherwise the user is told that nothing was written.
    [[nodiscard]] bool CanWriteKeyTables();
    // The model may be written to the keyboard now (whole, and key tables can be encoded);
    // otherwise the user is told why not.
    [[nodiscard]] bool CanWriteModel();

    // The edits of the model, each under the model lock.
    ModelEditor& Editor() { return m_editor; }
    // The edited model; hold the model lock while using it.
    ConfigModel& Model() { return m_model; }
    KeyTable DefaultKeyTable() const;
    std::size_t ExtraAreaCapacity() const { return m_extraAreaCapacity; }
    int LastDeviceCount() const { return m_lastDeviceCount; }

private:
    // What the upload reads: the key slots and the macros. Texts never reach the keyboard.
    struct ApplyCopy {
        std::array<ProfileBlock, kProfileBlockCount> blocks{};
        MacroStore macros;
    };

    void KeyboardArrived();
    // Reads the default key table from the keyboard; true when it is known afterwards.
    bool ReadDefaultKeyTable();
    bool HasDefaultKeyTable();
    void WaitForInitialisation() const;
    std::u16string Text(std::string_view key) const { return m_host.Text(key); }

    device::CommandSet& m_commands;
    SyncHost& m_host;
    std::recursive_mutex& m_modelLock;
    std::recursive_mutex& m_applyLock;

    ConfigModel m_model;
    ModelEditor m_editor{m_model, m_modelLock};
    ApplyCopy m_apply;
    std::atomic<bool> m_modelWhole{false};
    mutable std::mutex m_defaultTableMutex; // guards the two below
    KeyTable m_defaultTable{};
    bool m_defaultTableKnown = false;
    std::atomic<std::size_t> m_extraAreaCapacity{0};
    std::atomic<int> m_lastDeviceCount{0};
};

} // namespace tavrix::model
