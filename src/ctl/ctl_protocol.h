#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/instance_messages.h"
#include "device/commands.h"
#include "model/lighting_settings.h"
#include "model/profile_json.h"

// What tavrix-ctl asks of the keyboard, whoever carries it out: the running instance (the request
// travels in the body of a command-line request on the instance socket, app/instance_messages.h)
// or tavrix-ctl itself. Bodies and payloads are little-endian records, decoded as untrusted input:
// exact sizes, known commands, every value within its range.
namespace tavrix::ctl {

// How a request ended, and what the user should read about it.
struct CtlOutcome {
    app::CtlStatus status = app::CtlStatus::Done;
    std::string message;

    bool Done() const { return status == app::CtlStatus::Done; }
};

// The outcome of a failed keyboard command's result code: no keyboard, or the keyboard failed.
CtlOutcome KeyboardFailure(int result, const std::string& what);

enum class CtlCommand : uint32_t {
    Status = 1,             // payload: a StatusRecord
    SwitchProfile = 2,      // body: the profile 0..2
    ReadConfiguration = 3,  // payload: the keyboard's Configuration
    WriteConfiguration = 4, // body: a Configuration to write to the keyboard, as an import does
    ChangeLighting = 5,     // body: a LightingChange
};

// Lighting fields to write to the current profile's block; those not given stay as they are.
struct LightingChange {
    std::optional<uint8_t> effect;     // a code the keyboard lists (checked against its list)
    std::optional<uint8_t> brightness; // 0..4
    std::optional<uint8_t> speed;      // 0..4
    std::optional<uint8_t> direction;  // kDirectionLeft or kDirectionRight
    std::optional<uint8_t> reportRate; // code 0..3

    bool Empty() const { return !effect && !brightness && !speed && !direction && !reportRate; }
    bool operator==(const LightingChange&) const = default;
};

// A whole configuration: a profile file and the profiles' lighting blocks, where known. On the
// socket a byte with a bit for each profile whose block follows, those blocks in profile order,
// then the profile file.
struct Configuration {
    std::vector<uint8_t> file;
    model::ProfileLighting lighting;

    bool operator==(const Configuration&) const = default;
};

std::vector<uint8_t> EncodeConfiguration(const Configuration& configuration);
// Nothing for unknown bits, missing blocks or no file.
std::optional<Configuration> DecodeConfiguration(std::span<const uint8_t> bytes);

struct CtlRequest {
    CtlCommand command = CtlCommand::Status;
    int profile = 0;
    Configuration configuration;
    LightingChange lighting;

    bool operator==(const CtlRequest&) const = default;
};

std::vector<uint8_t> EncodeCtlBody(const CtlRequest& request);
// Nothing for an unknown command, a body of the wrong size or a value out of range.
std::optional<CtlRequest> DecodeCtlBody(std::span<const uint8_t> body);

// What status reports: the keyboard count, and when a keyboard answered, its current profile, its
// information block and the current profile's lighting block.
struct StatusRecord {
    uint32_t deviceCount = 0;
    int profile = -1; // -1 when unknown
    std::optional<std::array<uint8_t, device::kInfoBlockSize>> info;
    std::optional<model::LightingBlock> lighting;

    bool operator==(const StatusRecord&) const = default;
};

std::vector<uint8_t> EncodeStatusRecord(const StatusRecord& status);
std::optional<StatusRecord> DecodeStatusRecord(std::span<const uint8_t> bytes);

} // namespace tavrix::ctl
