#include <filesystem>
#include <memory>
#include <sstream>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <unistd.h>

#include "bin_folder.h"
#include "ctl_run.h"
#include "model/key_code.h"
#include "model/key_table_codec.h"
#include "model/lighting_settings.h"
#include "model/profile_file.h"
#include "model/profile_json.h"
#include "platform/file_util.h"
#include "sim/state_file.h"
#include "test_folders.h"

// The built tavrix-ctl against the simulated keyboard, with no instance of the program running:
// every subcommand, checked on the keyboard's state file, and the exit code of every kind of end.
namespace tavrix::ctl {
namespace {

constexpr uint16_t kKeyA = 0x01E;
constexpr uint16_t kKeyB = 0x030;
constexpr uint16_t kKeyC = 0x02E;
constexpr uint16_t kKeyH = 0x023;

class CtlProcessTest : public ::testing::Test {
protected:
    testing::CtlRun Ctl(const std::vector<std::string>& arguments)
    {
        return testing::RunProgram(BinFolder() + "/tavrix-ctl", arguments);
    }

    // Runs and expects a clean end: nothing on standard error.
    testing::CtlRun CtlDone(const std::vector<std::string>& arguments)
    {
        testing::CtlRun run = Ctl(arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "");
        return run;
    }

    sim::KeyboardMemory Keyboard() const { return sim::LoadStateFile(m_home / "sim.bin").memory; }

    // The keyboard's key table of the profile, read back into key slots.
    model::ProfileBlock KeysOf(int profile) const
    {
        const sim::KeyboardMemory memory = Keyboard();
        return model::DecodeProfileKeyTable(memory.keyTables[static_cast<size_t>(profile)], memory.defaultKeys);
    }

    std::string File(const std::string& name) const { return m_home / name; }

    void WriteText(const std::string& name, const std::string& text) const
    {
        ASSERT_TRUE(platform::WriteFileAtomically(File(name), text));
    }

    TempFolder m_home;
    ScopedEnv m_runtime{"XDG_RUNTIME_DIR", m_home / "run"};
    ScopedEnv m_config{"XDG_CONFIG_HOME", m_home / "config"};
    ScopedEnv m_data{"XDG_DATA_HOME", m_home / "data"};
    ScopedEnv m_backend{"DEXLINK_BACKEND", std::string("sim")};
    ScopedEnv m_state{"DEXLINK_SIM_STATE", m_home / "sim.bin"};
    ScopedEnv m_faults{"DEXLINK_SIM_FAULTS", std::nullopt};
    ScopedEnv m_latency{"DEXLINK_SIM_LATENCY_US", std::nullopt};
};

// A profile with A sending B in the first profile, and a macro on F1 in the second.
constexpr const char* kSetup = R"({
  "format": "tavrix-profile", "version": 1,
  "profiles": [
    {"keys": {"A": {"type": "key", "key": "B"}}},
    {"keys": {"F1": {"type": "macro", "macro": 1}}},
    {}
  ],
  "macros": [
    {"number": 1, "name": "tap H", "repeat": 2, "actions": [
      {"key": "H", "direction": "press", "delay": 20}, {"key": "H", "direction": "release", "delay": 0}]}
  ]
})";

TEST_F(CtlProcessTest, AKeyEditedInTheExportedJsonReachesTheKeyboard)
{
    WriteText("setup.json", kSetup);
    CtlDone({"import", File("setup.json")});
    EXPECT_EQ(KeysOf(0)[model::KeyIndexOf(kKeyA)], (model::KeyAssignment{model::kTypeKey, 0, kKeyB}));

    CtlDone({"export", File("backup.json")});
    std::string text = FileText(File("backup.json"));
    const std::string from = R"("A": {"type": "key", "key": "B"})";
    ASSERT_NE(text.find(from), std::string::npos) << text;
    text.replace(text.find(from), from.size(), R"("A": {"type": "key", "key": "C"})");
    WriteText("backup.json", text);

    CtlDone({"import", File("backup.json")});
    EXPECT_EQ(KeysOf(0)[model::KeyIndexOf(kKeyA)], (model::KeyAssignment{model::kTypeKey, 0, kKeyC}));
    const model::KeyAssignment macroKey = KeysOf(1)[model::KeyIndexOf(0x03B)];
    EXPECT_EQ(macroKey.type, model::kTypeMacro) << "the rest came back as it was";
    EXPECT_FALSE(Keyboard().extra.empty());
}

TEST_F(CtlProcessTest, ExportDumpAndConvertAgreeByteForByte)
{
    WriteText("setup.json", kSetup);
    CtlDone({"import", File("setup.json")});
    CtlDone({"export", File("keyboard.fwc")});
    CtlDone({"export", File("keyboard.JSON")});
    CtlDone({"convert", File("keyboard.fwc"), File("converted.json")});
    CtlDone({"convert", File("converted.json"), File("again.fwc")});
    CtlDone({"convert", File("keyboard.JSON"), File("from-json.fwc")});
    CtlDone({"convert", File("keyboard.JSON"), File("copy.json")});
    EXPECT_EQ(FileText(File("again.fwc")), FileText(File("keyboard.fwc")));
    EXPECT_EQ(FileText(File("from-json.fwc")), FileText(File("keyboard.fwc"))) << "all but the lighting";
    EXPECT_EQ(FileText(File("copy.json")), FileText(File("keyboard.JSON"))) << "the lighting kept";
    EXPECT_EQ(nlohmann::json::parse(FileText(File("converted.json")))["profiles"][0].count("lighting"), 0u)
        << "a .fwc file holds no lighting";
    EXPECT_EQ(CtlDone({"dump"}).out, FileText(File("keyboard.JSON"))) << "dump prints what export writes";

    auto model = std::make_unique<model::ConfigModel>();
    ASSERT_TRUE(model::LoadProfileFile(File("keyboard.fwc"), *model));
    ASSERT_EQ(model->macros.Count(), 1u);
    EXPECT_EQ(model->macros.Records()[0].Name(), u"tap H");
    EXPECT_EQ(model->macros.Records()[0].actions[0].keyCode, kKeyH);
}

TEST_F(CtlProcessTest, StatusAndProfileTellAndSwitchTheKeyboard)
{
    const testing::CtlRun status = CtlDone({"status"});
    EXPECT_NE(status.out.find("keyboards: 1\nprofile: 1\n"), std::string::npos) << status.out;

    CtlDone({"profile", "3"});
    EXPECT_EQ(Keyboard().info[device::kInfoCurrentProfileOffset], 2);
    EXPECT_EQ(CtlDone({"profile"}).out, "3\n");

    const nlohmann::json json = nlohmann::json::parse(CtlDone({"status", "--json"}).out);
    EXPECT_EQ(json["keyboards"], 1);
    EXPECT_EQ(json["profile"], 3);
    EXPECT_EQ(json["lighting"]["effect"]["code"], Keyboard().lighting[model::LightingAddress(2, 0)]);
    EXPECT_FALSE(json["effects"].empty());
}

TEST_F(CtlProcessTest, EveryProfilesLightingTravelsInTheJson)
{
    CtlDone({"export", File("backup.json")});
    nlohmann::json document = nlohmann::json::parse(FileText(File("backup.json")));
    nlohmann::json& lighting = document["profiles"][2]["lighting"];
    ASSERT_EQ(lighting["effect"], "static") << document.dump(2);
    lighting["effect"] = "breathing";
    lighting["brightness"] = 1;
    lighting["colours"][1] = "123456";
    WriteText("backup.json", document.dump(2));
    const sim::KeyboardMemory before = Keyboard();

    CtlDone({"import", File("backup.json")});
    const sim::KeyboardMemory after = Keyboard();
    const auto at = [&after](size_t offset) { return after.lighting[model::LightingAddress(2, offset)]; };
    EXPECT_EQ(at(model::kEffectOffset), 6);
    EXPECT_EQ(at(model::kBrightnessOffset), 1);
    EXPECT_EQ(at(9), 0x12);
    EXPECT_EQ(at(11), 0x56);
    EXPECT_TRUE(std::equal(after.lighting.begin(), after.lighting.begin() + model::LightingAddress(2, 0),
                           before.lighting.begin()))
        << "the other profiles' lighting as it was";
    EXPECT_EQ(nlohmann::json::parse(CtlDone({"dump"}).out), document);
}

TEST_F(CtlProcessTest, LightingIsWrittenToTheCurrentProfile)
{
    CtlDone({"profile", "2"});
    CtlDone({"lighting", "--effect", "wave", "--brightness", "2", "--speed", "4", "--direction", "right",
             "--report-rate", "500"});
    const sim::KeyboardMemory memory = Keyboard();
    const auto at = [&memory](size_t offset) { return memory.lighting[model::LightingAddress(1, offset)]; };
    EXPECT_EQ(at(model::kEffectOffset), 1);
    EXPECT_EQ(at(model::kBrightnessOffset), 2);
    EXPECT_EQ(at(model::kSpeedOffset), 4);
    EXPECT_EQ(at(model::kDirectionOffset), model::kDirectionRight);
    EXPECT_EQ(at(model::kReportRateOffset), 1);
    EXPECT_EQ(CtlDone({"lighting"}).out,
              "effect: wave (1)\nbrightness: 2\nspeed: 4\ndirection: right\nreport rate: 500 Hz\n");

    CtlDone({"lighting", "--effect", "3", "--direction", "spread"});
    EXPECT_EQ(Keyboard().lighting[model::LightingAddress(1, model::kDirectionOffset)], model::kDirectionLeft);
    EXPECT_EQ(Keyboard().lighting[model::LightingAddress(1, model::kBrightnessOffset)], 2) << "left as it was";
}

TEST_F(CtlProcessTest, EndsWithTheCodeOfWhatWentWrongAndWritesNothing)
{
    WriteText(
        "unknown-key.json",
        R"({"format": "tavrix-profile", "version": 1, "profiles": [{}, {"keys": {"Foo": {"type": "default"}}}, {}]})");
    WriteText("damaged.fwc", std::string(40000, 'x'));
    WriteText("unknown-effect.json", R"({"format": "tavrix-profile", "version": 1,
                                         "profiles": [{}, {"lighting": {"effect": 40}}, {}]})");
    WriteText("setup.json", kSetup);
    // A copy without the device library beside it cannot reach any keyboard.
    const std::string lonely = File("lonely");
    std::filesystem::create_directories(lonely);
    std::filesystem::copy_file(BinFolder() + "/tavrix-ctl", lonely + "/tavrix-ctl");

    struct Case {
        const char* what;
        std::vector<std::string> arguments;
        int exitCode;
        std::optional<std::string> faults = std::nullopt;
        std::string told = "";
        std::string program = "";
        // The simulated keyboard takes a write whose reply it then spoils.
        bool written = false;
    };
    const std::vector<Case> cases{
        {"no subcommand", {}, 1},
        {"unknown subcommand", {"frob"}, 1},
        {"profile 4", {"profile", "4"}, 1},
        {"no extension", {"export", File("backup.txt")}, 1},
        {"unknown effect", {"lighting", "--effect", "glow"}, 1},
        {"brightness 5", {"lighting", "--brightness", "5"}, 1},
        {"report rate 300", {"lighting", "--report-rate", "300"}, 1},
        {"no device library", {"status"}, 2, std::nullopt, "libdexlink.so", lonely + "/tavrix-ctl"},
        {"lighting refused", {"lighting", "--brightness", "1"}, 3, "refuse 0x06 always", "", "", true},
        {"effect not offered", {"lighting", "--effect", "40"}, 3, std::nullopt, "effect 40"},
        {"imported effect not offered", {"import", File("unknown-effect.json")}, 3, std::nullopt, "effect 40"},
        {"key tables refused", {"import", File("setup.json")}, 3, "refuse 0x08 always", "", "", true},
        {"default table unknown", {"import", File("setup.json")}, 3, "refuse 0x0F always"},
        {"missing file", {"import", File("missing.json")}, 4, std::nullopt, "no such file"},
        {"unknown key", {"import", File("unknown-key.json")}, 4, std::nullopt, "/profiles/1/keys/Foo"},
        {"damaged binary file", {"import", File("damaged.fwc")}, 4, std::nullopt, "not a valid profile file"},
        {"damaged input to convert", {"convert", File("unknown-key.json"), File("out.fwc")}, 4},
        {"unwritable export", {"export", File("no/such/folder.json")}, 4, std::nullopt, "cannot be written"},
    };
    for (const Case& c : cases) {
        const sim::KeyboardMemory before = Keyboard();
        ScopedEnv faults("DEXLINK_SIM_FAULTS", c.faults);
        const testing::CtlRun run = c.program.empty() ? Ctl(c.arguments) : testing::RunProgram(c.program, c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.what << ": " << run.err;
        EXPECT_EQ(run.out, "") << c.what;
        EXPECT_NE(run.err.find(c.told), std::string::npos) << c.what << ": " << run.err;
        std::istringstream lines(run.err);
        for (std::string line; std::getline(lines, line);)
            EXPECT_EQ(line.rfind("tavrix-ctl: ", 0), 0u) << c.what << ": one message a line: " << line;
        EXPECT_TRUE(c.written || Keyboard() == before) << c.what;
    }
    EXPECT_FALSE(std::filesystem::exists(File("out.fwc")));
}

TEST_F(CtlProcessTest, WhileTavrixRunsItCarriesOutTheRequests)
{
    // The program under a name of its own beside what it loads, so no other test's start finds
    // it; and tavrix-ctl where no device library is, so only the instance can reach the keyboard.
    const std::string bin = File("bin");
    std::filesystem::create_directories(bin);
    for (const char* data : {"libdexlink.so", "Skins", "Icons", "Help", "sentrel"})
        std::filesystem::create_symlink(BinFolder() + "/" + data, bin + "/" + data);
    const std::string tavrix = bin + "/tavrix-" + std::to_string(::getpid());
    std::filesystem::copy_file(BinFolder() + "/tavrix", tavrix);
    const std::string ctl = File("tavrix-ctl");
    std::filesystem::copy_file(BinFolder() + "/tavrix-ctl", ctl);
    WriteText("setup.json", kSetup);

    ScopedEnv offscreen("QT_QPA_PLATFORM", std::string("offscreen"));
    const int instance = testing::StartProgram(tavrix, {"/Start"});
    ASSERT_GT(instance, 0);
    bool answering = false;
    for (int attempt = 0; attempt < 200 && !answering; ++attempt) {
        answering = testing::RunProgram(ctl, {"status"}).exitCode == 0;
        if (!answering)
            ::usleep(100000);
    }
    EXPECT_TRUE(answering) << "the instance never took a request";
    const testing::CtlRun imported = testing::RunProgram(ctl, {"import", File("setup.json")});
    EXPECT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(testing::RunProgram(ctl, {"profile", "2"}).exitCode, 0);
    testing::StopProgram(instance);

    EXPECT_EQ(KeysOf(0)[model::KeyIndexOf(kKeyA)], (model::KeyAssignment{model::kTypeKey, 0, kKeyB}));
    EXPECT_EQ(Keyboard().info[device::kInfoCurrentProfileOffset], 1);
}

TEST_F(CtlProcessTest, EverySubcommandHasHelpAndTheProgramItsVersion)
{
    for (const char* subcommand : {"status", "profile", "export", "import", "dump", "lighting", "convert"}) {
        const testing::CtlRun run = CtlDone({subcommand, "--help"});
        EXPECT_NE(run.out.find("Exit codes: 0 done, 1 usage, 2 no keyboard"), std::string::npos) << subcommand;
    }
    EXPECT_NE(CtlDone({"--help"}).out.find("convert"), std::string::npos);
    EXPECT_EQ(CtlDone({"--version"}).out, std::string("tavrix-ctl ") + TAVRIX_VERSION + "\n");
}

} // namespace
} // namespace tavrix::ctl
