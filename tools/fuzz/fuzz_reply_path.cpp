// The program's side of the command channel against a keyboard that answers anything: every
// request the command set sends is answered with the input's next reply (any length, any command
// echo, any status, or none at all), with keyboard events and device-count changes in between.
#include <cstdint>
#include <span>

#include "scripted_link.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    tavrix::fuzz::InputScript script(std::span(data, size));
    tavrix::fuzz::RunScript(script);
    return 0;
}
