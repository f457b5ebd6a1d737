#pragma once

#include <array>
#include <cstdint>

#include "model/key_code.h"

namespace tavrix::model {

// The key index each virtual-key code stands for when no scan code is known; 0 = no key.
using VirtualKeyTable = std::array<uint8_t, 256>;
const VirtualKeyTable& VirtualKeyMap();

// The key a key message names: its scan code (lParam bits 16..24, the extended bit as 0x100)
// when that scan code agrees with the virtual key, otherwise the key of the virtual key.
uint16_t KeyFromVirtualKey(uint8_t virtualKey, uint32_t lParam);

} // namespace tavrix::model
