#pragma once

#include <cstdint>

namespace tavrix::model {

// The key a Linux input event code (the kernel's KEY_* numbers) stands for; 0 for a code that
// names no key of the catalogue. The layout in use does not matter: the code names the key's
// position, not its symbol.
uint16_t KeyFromLinuxInput(uint32_t inputCode);

// X11 and Wayland report a key as its Linux input code + 8 (the native scan code of a Qt key
// event); 0 for a scan code that names no key of the catalogue.
uint16_t KeyFromNativeScanCode(uint32_t nativeScanCode);

} // namespace tavrix::model
