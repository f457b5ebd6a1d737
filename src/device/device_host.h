#pragma once

namespace tavrix::device {

// What the device link tells the main window of the keyboard. The window implements it; tests
// record the calls. Every call may come from a thread other than the window's own and must not
// block.
class DeviceHost {
public:
    virtual ~DeviceHost() = default;

    // The keyboard switched its G-key bank (0 = A, 1 = B).
    virtual void OnBankChanged(int bank) = 0;
    // The keyboard's own keys changed its lighting: what the window shows of it is stale.
    virtual void OnKeyboardLightingChanged() = 0;
    // The keyboard is busy on its own (true) or done with it (false); one call at a time.
    virtual void OnKeyboardBusy(bool busy) = 0;
    // Runs on the link's connection thread, once per device-count change and once at start: one
    // call after another, in the order the changes were reported.
    virtual void OnConnectionChanged(int deviceCount) = 0;
};

} // namespace tavrix::device
