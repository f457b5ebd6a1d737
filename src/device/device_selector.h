#pragma once

#include "dexlink.h"

// The selectors of the keyboard's three collections; every library call names one.
namespace tavrix::device {

DeviceSelector CommandSelector();
DeviceSelector ConsumerSelector();
DeviceSelector StatusSelector();

} // namespace tavrix::device
