#include "ctl/ctl_commands.h"

#include <memory>
#include <ostream>
#include <sstream>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "ctl/keyboard_access.h"
#include "ctl/lighting_command.h"
#include "ctl/profile_document.h"
#include "device/commands.h"
#include "model/key_identifiers.h"
#include "model/lighting_effects.h"
#include "model/profile_file.h"
#include "model/profile_json.h"

namespace tavrix::ctl {

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kProgram = "tavrix-ctl";
constexpr const char* kFooter =
    "Exit codes: 0 done, 1 usage, 2 no keyboard, 3 the keyboard refused or failed, 4 a file that does not load "
    "(or cannot be written).\n"
    "While Tavrix runs, tavrix-ctl hands it the request and its window shows the change; otherwise tavrix-ctl "
    "opens the keyboard itself.";
constexpr const char* kFileHelp = "a profile file: .fwc (binary) or .json (readable), by its extension";

struct LightingOptions {
    std::string effect;
    int brightness = 0;
    int speed = 0;
    std::string direction;
    int reportRate = 0;
    CLI::Option* effectGiven = nullptr;
    CLI::Option* brightnessGiven = nullptr;
    CLI::Option* speedGiven = nullptr;
    CLI::Option* directionGiven = nullptr;
    CLI::Option* reportRateGiven = nullptr;
};

CtlRequest RequestOf(CtlCommand command)
{
    CtlRequest request;
    request.command = command;
    return request;
}

std::string EffectNames()
{
    std::string names;
    for (int code = 1; code <= UINT8_MAX; ++code) {
        if (const std::string_view name = model::EffectIdentifier(code); !name.empty())
            names += (names.empty() ? "" : ", ") + std::string(name);
    }
    return names;
}

std::string Hex(std::span<const uint8_t> bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const uint8_t byte : bytes) {
        text += (text.empty() ? "" : " ");
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

Json EffectJson(int code)
{
    const std::string_view name = model::EffectIdentifier(code);
    return Json{{"code", code}, {"name", name.empty() ? Json() : Json(std::string(name))}};
}

std::string EffectText(int code)
{
    const std::string_view name = model::EffectIdentifier(code);
    return name.empty() ? std::to_string(code) : std::string(name) + " (" + std::to_string(code) + ")";
}

class Ctl {
public:
    Ctl(std::ostream& out, std::ostream& err) : m_out(out), m_err(err) {}

    int Tell(int code, const std::string& message)
    {
        m_err << kProgram << ": " << message << '\n';
        return code;
    }

    int Status(bool json)
    {
        const app::CtlReply reply = Call(RequestOf(CtlCommand::Status));
        const std::optional<StatusRecord> status = DecodeStatusRecord(reply.payload);
        if (!status)
            return Exit(reply);
        if (json)
            m_out << StatusJson(*status).dump(2) << '\n';
        else
            PrintStatus(*status);
        return Exit(reply);
    }

    int Profile(std::optional<int> number)
    {
        if (number) {
            CtlRequest request = RequestOf(CtlCommand::SwitchProfile);
            request.profile = *number - 1;
            return Exit(Call(request));
        }
        const app::CtlReply reply = Call(RequestOf(CtlCommand::Status));
        const std::optional<StatusRecord> status = DecodeStatusRecord(reply.payload);
        if (reply.status != app::CtlStatus::Done || !status)
            return Exit(reply);
        if (status->profile < 0)
            return Tell(kExitKeyboardFailed, "the keyboard names no current profile");
        m_out << status->profile + 1 << '\n';
        return kExitDone;
    }

    int Export(const std::string& path)
    {
        if (!KindOf(path))
            return Tell(kExitUsage, path + ": a profile file ends in .fwc or .json");
        auto model = std::make_unique<model::ConfigModel>();
        model::ProfileLighting lighting;
        if (const int code = ReadConfiguration(*model, lighting); code != kExitDone)
            return code;
        std::string message;
        if (!SaveDocument(path, *model, lighting, message))
            return Tell(kExitBadFile, message);
        return kExitDone;
    }

    int Dump()
    {
        auto model = std::make_unique<model::ConfigModel>();
        model::ProfileLighting lighting;
        if (const int code = ReadConfiguration(*model, lighting); code != kExitDone)
            return code;
        std::string text;
        model::ProfileJsonError error;
        if (!model::EncodeProfileJson(*model, lighting, text, error))
            return Tell(kExitKeyboardFailed, "the keyboard holds what JSON refuses: " + error.Message());
        m_out << text;
        return kExitDone;
    }

    int Import(const std::string& path)
    {
        if (!KindOf(path))
            return Tell(kExitUsage, path + ": a profile file ends in .fwc or .json");
        auto model = std::make_unique<model::ConfigModel>();
        CtlRequest request = RequestOf(CtlCommand::WriteConfiguration);
        std::string message;
        if (!LoadDocument(path, *model, request.configuration.lighting, message))
            return Tell(kExitBadFile, message + "; nothing was written");
        request.configuration.file = model::EncodeProfileFile(*model);
        return Exit(Call(request));
    }

    int Lighting(const LightingOptions& options)
    {
        LightingChange change;
        if (*options.effectGiven) {
            change.effect = EffectOfName(options.effect);
            if (!change.effect)
                return Tell(kExitUsage, "unknown effect \"" + options.effect + "\": name one of " + EffectNames() +
                                            ", or give its code");
        }
        if (*options.directionGiven) {
            change.direction = DirectionOfWord(options.direction);
            if (!change.direction)
                return Tell(kExitUsage,
                            "unknown direction \"" + options.direction + "\": left, right, up, down, spread or gather");
        }
        if (*options.reportRateGiven)
            change.reportRate = ReportRateOfHz(options.reportRate);
        if (*options.brightnessGiven)
            change.brightness = static_cast<uint8_t>(options.brightness);
        if (*options.speedGiven)
            change.speed = static_cast<uint8_t>(options.speed);
        if (change.Empty())
            return ShowLighting();
        CtlRequest request = RequestOf(CtlCommand::ChangeLighting);
        request.lighting = change;
        return Exit(Call(request));
    }

    int Convert(const std::string& from, const std::string& to)
    {
        for (const std::string& path : {from, to}) {
            if (!KindOf(path))
                return Tell(kExitUsage, path + ": a profile file ends in .fwc or .json");
        }
        auto model = std::make_unique<model::ConfigModel>();
        model::ProfileLighting lighting;
        std::string message;
        if (!LoadDocument(from, *model, lighting, message) || !SaveDocument(to, *model, lighting, message))
            return Tell(kExitBadFile, message);
        return kExitDone;
    }

private:
    // The running instance when there is one, else the keyboard opened here.
    app::CtlReply Call(const CtlRequest& request)
    {
        if (!m_keyboard)
            m_keyboard = ConnectToInstance();
        if (!m_keyboard) {
            std::string reason;
            m_keyboard = OpenLocalKeyboard(reason);
            if (!m_keyboard)
                return {app::CtlStatus::NoKeyboard, reason, {}};
        }
        return m_keyboard->Call(request);
    }

    // Tells the reply's messages and ends with its status.
    int Exit(const app::CtlReply& reply)
    {
        std::istringstream lines(reply.text);
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty())
                Tell(0, line);
        }
        return static_cast<int>(reply.status);
    }

    int ReadConfiguration(model::ConfigModel& model, model::ProfileLighting& lighting)
    {
        const app::CtlReply reply = Call(RequestOf(CtlCommand::ReadConfiguration));
        if (reply.status != app::CtlStatus::Done)
            return Exit(reply);
        const std::optional<Configuration> configuration = DecodeConfiguration(reply.payload);
        if (!configuration || !model::LoadProfileBytes(configuration->file, model))
            return Tell(kExitKeyboardFailed, "the keyboard's configuration came back damaged");
        lighting = configuration->lighting;
        return Exit(reply);
    }

    int ShowLighting()
    {
        const app::CtlReply reply = Call(RequestOf(CtlCommand::Status));
        const std::optional<StatusRecord> status = DecodeStatusRecord(reply.payload);
        if (reply.status != app::CtlStatus::Done || !status || !status->lighting)
            return reply.status == app::CtlStatus::Done ? Tell(kExitKeyboardFailed, "the lighting could not be read")
                                                        : Exit(reply);
        PrintLighting(*status->lighting);
        return kExitDone;
    }

    void PrintLighting(const model::LightingBlock& block)
    {
        const model::LightingSettings settings = model::DecodeLightingSettings(block);
        m_out << "effect: " << EffectText(settings.effect) << '\n'
              << "brightness: " << int{settings.brightness} << '\n'
              << "speed: " << int{settings.speed} << '\n'
              << "direction: " << DirectionWord(settings.effect, settings.direction) << '\n'
              << "report rate: " << ReportRateHz(settings.reportRate) << " Hz\n";
    }

    void PrintStatus(const StatusRecord& status)
    {
        m_out << "keyboards: " << status.deviceCount << '\n';
        if (status.profile >= 0)
            m_out << "profile: " << status.profile + 1 << '\n';
        if (status.info) {
            const auto& info = *status.info;
            m_out << "information block: " << Hex(info) << '\n'
                  << "macro memory: " << info[device::kInfoExtraUnitsOffset] * device::kExtraAreaUnit << " bytes\n";
            std::string effects;
            for (const uint8_t code : model::SupportedEffects(info))
                effects += (effects.empty() ? "" : ", ") + EffectText(code);
            m_out << "effects: " << effects << '\n';
        }
        if (status.lighting)
            PrintLighting(*status.lighting);
    }

    static Json StatusJson(const StatusRecord& status)
    {
        Json json = Json::object();
        json["keyboards"] = status.deviceCount;
        json["profile"] = status.profile >= 0 ? Json(status.profile + 1) : Json();
        if (status.info) {
            const auto& info = *status.info;
            json["informationBlock"] = Hex(info);
            json["macroMemoryBytes"] = info[device::kInfoExtraUnitsOffset] * device::kExtraAreaUnit;
            Json effects = Json::array();
            for (const uint8_t code : model::SupportedEffects(info))
                effects.push_back(EffectJson(code));
            json["effects"] = std::move(effects);
        }
        if (status.lighting) {
            const model::LightingSettings settings = model::DecodeLightingSettings(*status.lighting);
            json["lighting"] = Json{{"effect", EffectJson(settings.effect)},
                                    {"brightness", settings.brightness},
                                    {"speed", settings.speed},
                                    {"direction", std::string(DirectionWord(settings.effect, settings.direction))}};
            json["reportRateHz"] = ReportRateHz(settings.reportRate);
        }
        return json;
    }

    std::ostream& m_out;
    std::ostream& m_err;
    std::unique_ptr<KeyboardAccess> m_keyboard;
};

} // namespace

int RunCtl(int argc, const char* const* argv, std::ostream& out, std::ostream& err)
{
    CLI::App app{"Tavrix from a terminal or a script: the PL3094V keyboard's profiles, configuration and lighting.",
                 kProgram};
    app.set_version_flag("--version", std::string(kProgram) + " " + TAVRIX_VERSION);
    app.require_subcommand(1);

    bool json = false;
    auto* status = app.add_subcommand("status", "keyboards found, current profile, information block, lighting");
    status->add_flag("--json", json, "print the status as JSON");

    int number = 0;
    auto* profile = app.add_subcommand("profile", "print the current profile, or switch to profile N");
    CLI::Option* numberGiven =
        profile->add_option("N", number, "the profile to switch to")->check(CLI::Range(1, device::kProfileCount));

    std::string path;
    auto* exportCommand = app.add_subcommand("export", "write the keyboard's whole configuration to FILE");
    exportCommand->add_option("FILE", path, kFileHelp)->required();
    auto* importCommand = app.add_subcommand(
        "import", "write FILE's whole configuration to the keyboard, as the window's import does; nothing is "
                  "written from a file that does not load whole");
    importCommand->add_option("FILE", path, kFileHelp)->required();
    auto* dump = app.add_subcommand("dump", "print the keyboard's whole configuration as JSON");

    LightingOptions lighting;
    auto* lightingCommand =
        app.add_subcommand("lighting", "change the current profile's lighting; without options, print it");
    lighting.effectGiven = lightingCommand->add_option("--effect", lighting.effect, "NAME or CODE: " + EffectNames());
    lighting.brightnessGiven =
        lightingCommand->add_option("--brightness", lighting.brightness, "0 to 4")->check(CLI::Range(0, 4));
    lighting.speedGiven =
        lightingCommand->add_option("--speed", lighting.speed, "0 (slowest) to 4")->check(CLI::Range(0, 4));
    lighting.directionGiven =
        lightingCommand->add_option("--direction", lighting.direction, "left, right, up, down, spread or gather");
    lighting.reportRateGiven = lightingCommand
                                   ->add_option("--report-rate", lighting.reportRate,
                                                "HZ: 1000, 500, 250 "
                                                "or 125")
                                   ->check(CLI::IsMember(kReportRatesHz));

    std::string from;
    std::string to;
    auto* convert = app.add_subcommand("convert", "convert a profile file between .fwc and .json, without a keyboard");
    convert->add_option("IN", from, kFileHelp)->required();
    convert->add_option("OUT", to, kFileHelp)->required();

    app.footer(kFooter);
    for (CLI::App* command : app.get_subcommands({}))
        command->footer(kFooter);

    Ctl ctl(out, err);
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& shown) {
        return app.exit(shown, out, err);
    } catch (const CLI::ParseError& error) {
        return ctl.Tell(kExitUsage, error.what());
    }
    if (*status)
        return ctl.Status(json);
    if (*profile)
        return ctl.Profile(*numberGiven ? std::optional<int>(number) : std::nullopt);
    if (*exportCommand)
        return ctl.Export(path);
    if (*importCommand)
        return ctl.Import(path);
    if (*dump)
        return ctl.Dump();
    if (*lightingCommand)
        return ctl.Lighting(lighting);
    return ctl.Convert(from, to);
}

} // namespace tavrix::ctl
