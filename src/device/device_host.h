#pragma once

#include <cstdint>

namespace tavrix::device {

// Modes of DeviceHost::ShowTrayState.
inline constexpr int kTrayModeIcon = 0;
inline constexpr int kTrayModeBusy = 1;

// What the device link asks of the main window. The window implements it; tests record the
// calls. Every call may come from a thread other than the window's own and must not block.
class DeviceHost {
public:
    virtual ~DeviceHost() = default;

    // The keyboard switched its G-key bank (0 = A, 1 = B): send UM_GKEYS with wParam = tag,
    // re-mark the G-keys and set the bank indicator and the G-key captions.
    virtual void OnGKeyBankChanged(uint32_t tag, int bank) = 0;
    // The keyboard's own keys changed the lighting: start timer 1051 with a period of 0 ms.
    virtual void StartLightingRefresh() = 0;
    // Mode 0 with an icon id: show and remember it; mode 0 with id 0: show the remembered one;
    // mode 1: show the busy icon 142.
    virtual void ShowTrayState(int mode, int iconId) = 0;
    // Runs on the link's connection thread, once per device-count change and once at start: one
    // call after another, in the order the changes were reported.
    virtual void OnConnectionChanged(int deviceCount) = 0;
};

}  // namespace tavrix::device
