#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>

#include "app/instance_server.h"
#include "ctl/keyboard_access.h"
#include "device/commands.h"
#include "main_window_fixture.h"
#include "model/key_code.h"
#include "model/lighting_settings.h"
#include "model/profile_file.h"

// tavrix-ctl while the program runs: its requests reach the window over the instance socket and
// are carried out on the window's own model, which shows them; the keyboard is written once.
namespace tavrix::ui {
namespace {

using Fault = dexlink::SimBackend::ReplyFault;

constexpr uint16_t kKeyA = 0x01E;
constexpr uint16_t kKeyB = 0x030;
constexpr uint16_t kKeyC = 0x02E;

ctl::CtlRequest RequestOf(ctl::CtlCommand command)
{
    ctl::CtlRequest request;
    request.command = command;
    return request;
}

class CtlForwardingTest : public testing::MainWindowTest {
protected:
    void TearDown() override
    {
        m_server.reset();
        MainWindowTest::TearDown();
    }

    // Starts the window with its instance socket, wired as the program wires it.
    void StartListening()
    {
        Start();
        m_server = std::make_unique<app::InstanceServer>([](uint32_t, uint32_t, uint32_t) { return false; });
        m_server->SetCtlHandler([this](std::span<const uint8_t> body) { return Dlg().OnCtlRequest(body); });
        ASSERT_TRUE(m_server->Listen());
    }

    // Sends the request as tavrix-ctl does, from a thread of its own, while this thread runs the
    // window.
    app::CtlReply Forward(const ctl::CtlRequest& request)
    {
        std::optional<app::CtlReply> reply;
        std::atomic<bool> done{false};
        std::thread client([&] {
            std::unique_ptr<ctl::KeyboardAccess> instance = ctl::ConnectToInstance();
            if (instance) {
                reply = instance->Call(request);
            }
            done = true;
        });
        EXPECT_TRUE(WaitUntil([&] { return done.load(); }));
        client.join();
        EXPECT_TRUE(reply) << "no instance was reached";
        return reply.value_or(app::CtlReply{app::CtlStatus::NoKeyboard, {}, {}});
    }

    // A profile file with A sending C in the second profile.
    static ctl::CtlRequest ImportRequest()
    {
        auto file = std::make_unique<model::ConfigModel>();
        model::NewModel(*file, 0);
        file->image.blocks[1][model::KeyIndexOf(kKeyA)] = {model::kTypeKey, 0, kKeyC};
        ctl::CtlRequest request = RequestOf(ctl::CtlCommand::WriteConfiguration);
        request.configuration.file = model::EncodeProfileFile(*file);
        return request;
    }

    static size_t Sent(uint8_t command)
    {
        const std::vector<sim::Report> requests = Sim().CommandRequests();
        return static_cast<size_t>(std::count_if(requests.begin(), requests.end(), [command](const sim::Report& r) {
            return r[device::kCommandOffset] == command;
        }));
    }

    std::unique_ptr<app::InstanceServer> m_server;
};

TEST_F(CtlForwardingTest, AnImportChangesTheWindowsModelAndWritesTheKeyboardOnce)
{
    StartListening();
    const size_t beginsBefore = Sent(device::kCmdBeginConfig);
    const size_t tablesBefore = Sent(device::kCmdWriteKeyTable);
    const int marksBefore = m_parts.keyMarks;

    const app::CtlReply reply = Forward(ImportRequest());
    EXPECT_EQ(reply.status, app::CtlStatus::Done) << reply.text;
    EXPECT_EQ(SlotOf(1, model::KeyIndexOf(kKeyA)), (model::KeyAssignment{model::kTypeKey, 0, kKeyC}));
    EXPECT_GT(m_parts.keyMarks, marksBefore) << "the window shows the new model";
    EXPECT_FALSE(Dlg().IsApplyEnabled()) << "the keyboard and the cache file hold the model";
    EXPECT_EQ(Sent(device::kCmdBeginConfig) - beginsBefore, 1u);
    EXPECT_EQ(Sent(device::kCmdWriteKeyTable) - tablesBefore, 3u * 6u) << "three key tables of six chunks, once";
    const sim::KeyboardMemory memory = Sim().Memory();
    const model::ProfileBlock keys = model::DecodeProfileKeyTable(memory.keyTables[1], memory.defaultKeys);
    EXPECT_EQ(keys[model::KeyIndexOf(kKeyA)].value, kKeyC);
}

TEST_F(CtlForwardingTest, ChangesWaitUntilTheWindowsOwnChangesAreApplied)
{
    StartListening();
    Edit(0, model::KeyIndexOf(kKeyA), {model::kTypeKey, 0, kKeyB});
    const size_t tablesBefore = Sent(device::kCmdWriteKeyTable);

    const app::CtlReply reply = Forward(ImportRequest());
    EXPECT_EQ(reply.status, app::CtlStatus::Failed);
    EXPECT_NE(reply.text.find("apply"), std::string::npos) << reply.text;
    EXPECT_EQ(SlotOf(0, model::KeyIndexOf(kKeyA)).value, kKeyB) << "the user's change is kept";
    EXPECT_EQ(SlotOf(1, model::KeyIndexOf(kKeyA)).type, model::kTypeDefault);
    EXPECT_EQ(Sent(device::kCmdWriteKeyTable), tablesBefore);
    EXPECT_EQ(Forward(RequestOf(ctl::CtlCommand::Status)).status, app::CtlStatus::Done) << "reading still works";
}

TEST_F(CtlForwardingTest, ProfileAndLightingChangesShowInTheWindow)
{
    StartListening();
    const int fullReadsBefore = m_parts.lightingReads;
    ctl::CtlRequest profile = RequestOf(ctl::CtlCommand::SwitchProfile);
    profile.profile = 2;
    EXPECT_EQ(Forward(profile).status, app::CtlStatus::Done);
    EXPECT_EQ(Dlg().Commands().GetCurrentProfile(), 2);
    EXPECT_EQ(m_parts.selectedProfile, 2);
    EXPECT_GT(m_parts.lightingReads, fullReadsBefore) << "the panel shows the profile's lighting";

    const int readsBefore = m_parts.lightingSettingsReads;
    ctl::CtlRequest lighting = RequestOf(ctl::CtlCommand::ChangeLighting);
    lighting.lighting.brightness = 1;
    EXPECT_EQ(Forward(lighting).status, app::CtlStatus::Done);
    EXPECT_EQ(Sim().Memory().lighting[model::LightingAddress(2, model::kBrightnessOffset)], 1);
    EXPECT_GT(m_parts.lightingSettingsReads, readsBefore) << "the panel reads the lighting again";

    const app::CtlReply status = Forward(RequestOf(ctl::CtlCommand::Status));
    const std::optional<ctl::StatusRecord> record = ctl::DecodeStatusRecord(status.payload);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->deviceCount, 1u);
    EXPECT_EQ(record->profile, 2);
}

TEST_F(CtlForwardingTest, AnImportsLightingReachesTheKeyboardAndThePanel)
{
    StartListening();
    const int fullReadsBefore = m_parts.lightingReads;
    ctl::CtlRequest request = ImportRequest();
    model::LightingBlock block{};
    const sim::KeyboardMemory before = Sim().Memory();
    std::copy_n(before.lighting.begin() + model::LightingAddress(1, 0), block.size(), block.begin());
    block[model::kEffectOffset] = 6;
    block[model::kSpeedOffset] = 3;
    request.configuration.lighting[1] = block;

    const app::CtlReply reply = Forward(request);
    EXPECT_EQ(reply.status, app::CtlStatus::Done) << reply.text;
    const sim::KeyboardMemory after = Sim().Memory();
    EXPECT_TRUE(std::equal(block.begin(), block.end(), after.lighting.begin() + model::LightingAddress(1, 0)));
    EXPECT_GT(m_parts.lightingReads, fullReadsBefore) << "the panel shows the lighting written";
}

TEST_F(CtlForwardingTest, TheKeyboardIsLeftAloneWhileTheUpdateDialogIsOpen)
{
    StartListening();
    ui::WindowParts parts = Dlg().Parts();
    parts.update = &m_parts;
    Dlg().AttachParts(parts);
    m_parts.editorOpen = true;
    const size_t sent = Sim().CommandRequests().size();

    const app::CtlReply reply = Forward(RequestOf(ctl::CtlCommand::Status));
    EXPECT_EQ(reply.status, app::CtlStatus::Failed);
    EXPECT_NE(reply.text.find("update"), std::string::npos) << reply.text;
    EXPECT_EQ(Sim().CommandRequests().size(), sent);
    m_parts.editorOpen = false;
    EXPECT_EQ(Forward(RequestOf(ctl::CtlCommand::Status)).status, app::CtlStatus::Done);
}

TEST_F(CtlForwardingTest, MessagesGoBackToTheCommandLineNotIntoABox)
{
    ::ScopedEnv faults("DEXLINK_SIM_FAULTS", std::string("refuse 0x0F always"));
    StartListening();
    const size_t boxes = MessageTexts().size();

    const app::CtlReply reply = Forward(ImportRequest());
    EXPECT_EQ(reply.status, app::CtlStatus::Failed);
    EXPECT_NE(reply.text.find(Text("MAIN_DEFAULT_MATRIX_WRITE_PROMPT").toStdString()), std::string::npos) << reply.text;
    EXPECT_EQ(MessageTexts().size(), boxes);
    EXPECT_EQ(Dlg().OnCtlRequest(std::vector<uint8_t>{9, 9}).status, app::CtlStatus::Failed) << "not understood";
}

} // namespace
} // namespace tavrix::ui
