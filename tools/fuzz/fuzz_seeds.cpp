// Writes the seed corpora of the fuzz targets, made by the program's own encoders and the
// simulated keyboard, into <folder>/<target>/.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "device/commands.h"
#include "device/protocol.h"
#include "model/key_code.h"
#include "model/key_table_codec.h"
#include "model/macro_area.h"
#include "model/profile_file.h"
#include "scripted_link.h"
#include "sim/factory_defaults.h"
#include "sim/keyboard_simulator.h"
#include "sim/state_file.h"

namespace {

using namespace tavrix;

constexpr uint16_t kKeyA = 0x01E;
constexpr uint16_t kKeyB = 0x030;
constexpr uint16_t kMouseLeft = 0x0F1;

void WriteSeed(const std::filesystem::path& folder, const std::string& name, const std::vector<uint8_t>& bytes)
{
    std::filesystem::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<model::MacroRecord> SomeMacros()
{
    std::vector<model::MacroRecord> macros(3);
    for (size_t i = 0; i < macros.size(); ++i) {
        model::MacroRecord& macro = macros[i];
        macro.number = static_cast<uint16_t>(i + 1);
        macro.SetName(i == 1 ? u"" : u"seed macro");
        macro.repeatCount = static_cast<uint8_t>(i + 1);
        macro.actionCount = static_cast<uint16_t>(2 * (i + 1));
        for (size_t k = 0; k < macro.actionCount; ++k) {
            macro.actions[k] = {static_cast<uint32_t>(10 * k), k % 4 < 2 ? kKeyA : kMouseLeft,
                                k % 2 ? model::kMacroRelease : model::kMacroPress};
        }
    }
    return macros;
}

model::ConfigModel SomeModel()
{
    model::ConfigModel config;
    static_cast<void>(config.macros.Assign(SomeMacros()));
    config.image.blocks[0][model::KeyIndexOf(kKeyA)] = {model::kTypeKey, 0, kKeyB};
    config.image.blocks[1][model::KeyIndexOf(kKeyB)] = {model::kTypeMacro, 0, 2};
    config.image.blocks[2][model::KeyIndexOf(kKeyA)] = {model::kTypeDefaultWithText};
    config.texts.Set(2 * model::kSlotsPerBlock + model::KeyIndexOf(kKeyA), u"text");
    return config;
}

void WriteProfileSeeds(const std::filesystem::path& folder)
{
    model::ConfigModel empty;
    WriteSeed(folder, "empty.fwc", model::EncodeProfileFile(empty));
    model::ConfigModel some = SomeModel();
    WriteSeed(folder, "macros-and-text.fwc", model::EncodeProfileFile(some));
}

void WriteMacroAreaSeeds(const std::filesystem::path& folder)
{
    const std::vector<model::MacroRecord> macros = SomeMacros();
    const model::MacroAreaSize sizes = model::MacroAreaSizes(macros);
    for (const bool names : {false, true}) {
        std::vector<uint8_t> area(names ? sizes.withNames : sizes.withoutNames);
        if (model::EncodeMacroArea(macros, area, names)) {
            WriteSeed(folder, names ? "with-names" : "without-names", area);
        }
    }
}

void WriteKeyTableSeeds(const std::filesystem::path& folder)
{
    const model::KeyTable defaults = sim::DefaultKeyTable();
    const model::ConfigModel some = SomeModel();
    const model::MacroSlotOf slotOf = [](uint32_t id) -> std::optional<size_t> { return id - 1; };
    for (size_t block = 0; block < 3; ++block) {
        const model::KeyTable table = model::EncodeProfileKeyTable(some.image.blocks[block], defaults, slotOf);
        std::vector<uint8_t> bytes(table.begin(), table.end());
        bytes.insert(bytes.end(), defaults.begin(), defaults.end());
        WriteSeed(folder, "profile-" + std::to_string(block), bytes);
    }
}

// Records a script from the simulated keyboard: sensible arguments, its true replies, and on
// request one fault of each kind early on.
class RecordingScript : public fuzz::Script {
public:
    explicit RecordingScript(bool withFaults) : m_withFaults(withFaults) {}

    uint8_t Argument() override
    {
        // In the order the commands ask: read profile 1, 200 extra bytes, 42 lighting bytes at 0,
        // 56 lamp bytes at 0 of profile 0, write profile 2, switch to profile 1.
        static constexpr uint8_t kArguments[] = {2, 100, 43, 1, 0, 57, 1, 1, 3, 2};
        const uint8_t value = kArguments[m_argument++ % std::size(kArguments)];
        m_bytes.push_back(value);
        return value;
    }

    bool AnswerTo(std::span<const uint8_t> request, fuzz::Answer& answer) override
    {
        answer = fuzz::Answer{};
        const std::optional<sim::Report> reply = m_keyboard.HandleCommand(request);
        if (reply) {
            answer.reply.assign(reply->begin(), reply->end());
        } else {
            answer.mode = fuzz::kNoReply;
        }
        if (m_withFaults) {
            AddFault(answer);
        }
        fuzz::AppendAnswer(answer, m_bytes);
        m_ended = request.size() > device::kCommandOffset && request[device::kCommandOffset] == device::kCmdEndConfig;
        ++m_answers;
        return true;
    }

    bool Ended() const override { return m_ended; }
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

private:
    void AddFault(fuzz::Answer& answer) const
    {
        switch (m_answers) {
        case 0:
            answer.mode |= fuzz::kEventFirst;
            answer.event = 0x02FF;
            break;
        case 1:
            answer.mode |= fuzz::kCountChangeFirst;
            answer.deviceCount = 0;
            break;
        case 2:
            answer.reply[7] = 0xFE;
            break;
        case 3:
            answer.reply.resize(80);
            break;
        case 4:
            answer.mode |= fuzz::kEchoAsGiven;
            answer.reply[3] ^= 0x80;
            break;
        case 5:
            answer.reply.resize(5);
            break;
        default:
            break;
        }
    }

    bool m_withFaults;
    sim::KeyboardSimulator m_keyboard;
    std::vector<uint8_t> m_bytes;
    std::size_t m_argument = 0;
    std::size_t m_answers = 0;
    bool m_ended = false;
};

void WriteReplySeeds(const std::filesystem::path& folder)
{
    for (const bool faults : {false, true}) {
        RecordingScript script(faults);
        fuzz::RunScript(script);
        WriteSeed(folder, faults ? "faults" : "clean", script.Bytes());
    }
}

void WriteIniSeeds(const std::filesystem::path& folder)
{
    // The input's section, key and value come first, each ended by a backslash and a blank.
    const std::string names = "Main\\ BTN_APPLY\\ 12,34,56,78\\ ";
    const std::string text = "; skin\r\n[Main]\r\nBG = main.jpg\r\nBTN_APPLY=700,520,80,24,x\r\n"
                             "[KEYCOLOR]\r\nDengCheck=\"1\"\r\n";
    const std::string utf8 = names + text;
    WriteSeed(folder, "utf8", std::vector<uint8_t>(utf8.begin(), utf8.end()));
    std::vector<uint8_t> wide(names.begin(), names.end());
    wide.push_back(0xFF);
    wide.push_back(0xFE);
    for (const char c : text) {
        wide.push_back(static_cast<uint8_t>(c));
        wide.push_back(0);
    }
    WriteSeed(folder, "utf16", wide);
}

std::vector<uint8_t> Request(uint8_t command, uint8_t length, uint16_t address, uint8_t fill)
{
    std::vector<uint8_t> frame(sim::kReportSize, fill);
    frame[0] = 4;
    frame[3] = command;
    frame[4] = length;
    frame[5] = static_cast<uint8_t>(address & 0xFF);
    frame[6] = static_cast<uint8_t>(address >> 8);
    frame[7] = 0;
    return frame;
}

void WriteSimSeeds(const std::filesystem::path& folder)
{
    std::vector<uint8_t> session;
    for (const auto& frame :
         {Request(device::kCmdBeginConfig, 0, 0, 0), Request(device::kCmdReadInfoBlock, 48, 0, 0),
          Request(device::kCmdWriteExtraArea, 56, 56, 0x5A), Request(device::kCmdWriteKeyTable, 24, 512 + 300, 0x02),
          Request(device::kCmdWriteLampArea, 56, 180 * 2 + 124, 0x33),
          Request(device::kCmdReadDefaultTable, 56, 280, 0), Request(device::kCmdEndConfig, 0, 0, 0),
          Request(device::kCmdWriteInfoBlock, 48, 0, 1), Request(device::kCmdEnterBootMode, 0xEE, 0, 0),
          Request(device::kCmdTestCommand, 0, 0, 0)}) {
        session.insert(session.end(), frame.begin(), frame.end());
    }
    WriteSeed(folder, "session", session);
    WriteSeed(folder, "state-file", sim::EncodeStateImage(sim::FactoryMemory()));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    WriteProfileSeeds(root / "fuzz_profile_file");
    WriteMacroAreaSeeds(root / "fuzz_macro_area");
    WriteKeyTableSeeds(root / "fuzz_key_table");
    WriteReplySeeds(root / "fuzz_reply_path");
    WriteIniSeeds(root / "fuzz_ini_file");
    WriteSimSeeds(root / "fuzz_sim_keyboard");
    return 0;
}
