#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "app/instance_messages.h"
#include "ctl/ctl_protocol.h"
#include "ctl/lighting_command.h"
#include "model/key_identifiers.h"
#include "platform/little_endian.h"

namespace tavrix::ctl {
namespace {

CtlRequest RequestOf(CtlCommand command)
{
    CtlRequest request;
    request.command = command;
    return request;
}

TEST(CtlProtocol, EveryRequestComesBackAsItWasSent)
{
    CtlRequest profile = RequestOf(CtlCommand::SwitchProfile);
    profile.profile = 2;
    CtlRequest write = RequestOf(CtlCommand::WriteConfiguration);
    write.configuration.file = {1, 2, 3};
    CtlRequest writeLighting = write;
    writeLighting.configuration.lighting[1] = model::LightingBlock{6, 4};
    writeLighting.configuration.lighting[2] = model::LightingBlock{254};
    CtlRequest lighting = RequestOf(CtlCommand::ChangeLighting);
    lighting.lighting.brightness = 4;
    lighting.lighting.direction = model::kDirectionRight;
    CtlRequest allLighting = RequestOf(CtlCommand::ChangeLighting);
    allLighting.lighting = {254, 0, 4, model::kDirectionLeft, 3};
    for (const CtlRequest& request : {RequestOf(CtlCommand::Status), RequestOf(CtlCommand::ReadConfiguration), profile,
                                      write, writeLighting, lighting, allLighting}) {
        const std::optional<CtlRequest> decoded = DecodeCtlBody(EncodeCtlBody(request));
        ASSERT_TRUE(decoded) << static_cast<int>(request.command);
        EXPECT_EQ(*decoded, request) << static_cast<int>(request.command);
    }
}

TEST(CtlProtocol, RefusesEveryDamagedBody)
{
    const auto body = [](CtlCommand command, std::vector<uint8_t> rest) {
        std::vector<uint8_t> bytes(4);
        platform::Put32(bytes, 0, static_cast<uint32_t>(command));
        bytes.insert(bytes.end(), rest.begin(), rest.end());
        return bytes;
    };
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"nothing", {}},
        {"short command", {1, 0, 0}},
        {"unknown command", body(static_cast<CtlCommand>(9), {})},
        {"status with a tail", body(CtlCommand::Status, {0})},
        {"profile 3", body(CtlCommand::SwitchProfile, {3, 0, 0, 0})},
        {"profile too wide", body(CtlCommand::SwitchProfile, {0, 0, 0, 0, 0})},
        {"nothing to write", body(CtlCommand::WriteConfiguration, {})},
        {"no file", body(CtlCommand::WriteConfiguration, {0})},
        {"no file after lighting", body(CtlCommand::WriteConfiguration,
                                        [] {
                                            std::vector<uint8_t> rest(1 + model::kLightingBlockSize);
                                            rest[0] = 0x02;
                                            return rest;
                                        }())},
        {"lighting block cut short", body(CtlCommand::WriteConfiguration, {0x01, 5, 1, 2})},
        {"fourth profile's lighting", body(CtlCommand::WriteConfiguration,
                                           [] {
                                               std::vector<uint8_t> rest(2 + model::kLightingBlockSize);
                                               rest[0] = 0x08;
                                               return rest;
                                           }())},
        {"no lighting field", body(CtlCommand::ChangeLighting, {0, 0, 0, 0, 0, 0})},
        {"unknown lighting field", body(CtlCommand::ChangeLighting, {0x21, 1, 0, 0, 0, 0})},
        {"effect 0", body(CtlCommand::ChangeLighting, {0x01, 0, 0, 0, 0, 0})},
        {"brightness 5", body(CtlCommand::ChangeLighting, {0x02, 0, 5, 0, 0, 0})},
        {"speed 5", body(CtlCommand::ChangeLighting, {0x04, 0, 0, 5, 0, 0})},
        {"direction 7", body(CtlCommand::ChangeLighting, {0x08, 0, 0, 0, 7, 0})},
        {"report rate 4", body(CtlCommand::ChangeLighting, {0x10, 0, 0, 0, 0, 4})},
        {"lighting cut short", body(CtlCommand::ChangeLighting, {0x02, 0, 1})},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(DecodeCtlBody(c.bytes)) << c.what;
}

TEST(CtlProtocol, StatusRecordsComeBackAndDamagedOnesAreRefused)
{
    StatusRecord none;
    StatusRecord full;
    full.deviceCount = 1;
    full.profile = 2;
    full.info.emplace();
    (*full.info)[10] = 2;
    full.lighting.emplace();
    (*full.lighting)[0] = 5;
    for (const StatusRecord& status : {none, full})
        EXPECT_EQ(DecodeStatusRecord(EncodeStatusRecord(status)), status);

    std::vector<uint8_t> bytes = EncodeStatusRecord(full);
    bytes.pop_back();
    EXPECT_FALSE(DecodeStatusRecord(bytes)) << "short";
    bytes = EncodeStatusRecord(full);
    platform::Put32(bytes, 4, 3);
    EXPECT_FALSE(DecodeStatusRecord(bytes)) << "profile 3";
    bytes = EncodeStatusRecord(full);
    bytes[8] |= 0x80;
    EXPECT_FALSE(DecodeStatusRecord(bytes)) << "unknown flag";
}

TEST(CtlFrames, RequestsCarryTheirVersionAndBoundedBody)
{
    const std::vector<uint8_t> body{4, 0, 0, 0, 9};
    const std::optional<std::vector<uint8_t>> bytes = app::EncodeCtlRequest(body);
    ASSERT_TRUE(bytes);
    const std::optional<app::InstanceRequestFrame> header = app::DecodeInstanceRequest(*bytes);
    ASSERT_TRUE(header && app::IsCtlRequest(*header));
    EXPECT_EQ(app::CtlBodySize(*header), body.size());
    EXPECT_EQ(std::vector<uint8_t>(bytes->begin() + app::kInstanceRequestSize, bytes->end()), body);

    EXPECT_FALSE(app::EncodeCtlRequest(std::vector<uint8_t>(app::kMaxCtlBodySize + 1)));
    EXPECT_FALSE(app::CtlBodySize({app::kCtlRequestMessage, app::kCtlProtocolVersion + 1, 5})) << "another version";
    EXPECT_FALSE(app::CtlBodySize({app::kCtlRequestMessage, app::kCtlProtocolVersion, app::kMaxCtlBodySize + 1}));
    EXPECT_FALSE(app::CtlBodySize({app::UM_OPEN, app::kOpenRequestTag, 0})) << "not a command-line request";
}

TEST(CtlFrames, RepliesAreCheckedBeforeTheirLengthsAreTrusted)
{
    const app::CtlReply reply{app::CtlStatus::BadFile, "no", {1, 2}};
    const std::vector<uint8_t> bytes = app::EncodeCtlReply(reply);
    ASSERT_EQ(bytes.size(), app::kCtlReplyHeaderSize + 4);
    const std::optional<app::CtlReplyHeader> header = app::DecodeCtlReplyHeader(bytes);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->status, app::CtlStatus::BadFile);
    EXPECT_EQ(header->textSize, 2u);
    EXPECT_EQ(header->payloadSize, 2u);

    const std::function<void(std::vector<uint8_t>&)> damages[] = {
        [](auto& b) { b.resize(app::kCtlReplyHeaderSize - 1); },
        [](auto& b) { platform::Put32(b, 0, app::kInstanceReplySize); },
        [](auto& b) { platform::Put32(b, 4, app::kCtlProtocolVersion + 1); },
        [](auto& b) { platform::Put32(b, 8, 1); },
        [](auto& b) { platform::Put32(b, 12, app::kMaxCtlTextSize + 1); },
        [](auto& b) { platform::Put32(b, 16, app::kMaxCtlBodySize + 1); },
    };
    for (size_t i = 0; i < std::size(damages); ++i) {
        std::vector<uint8_t> damaged = bytes;
        damages[i](damaged);
        EXPECT_FALSE(app::DecodeCtlReplyHeader(damaged)) << i;
    }
}

TEST(LightingWords, NamesGoBothWays)
{
    for (int code = 0; code <= 255; ++code) {
        if (const std::string_view name = model::EffectIdentifier(code); !name.empty()) {
            EXPECT_EQ(EffectOfName(name), code) << name;
        }
    }
    EXPECT_EQ(EffectOfName("static"), 5);
    EXPECT_EQ(EffectOfName("40"), 40) << "a code the keyboard may list without a name";
    for (const char* refused : {"", "0", "256", "Static", "5x", "-1"})
        EXPECT_EQ(EffectOfName(refused), std::nullopt) << refused;
    for (int code = 0; code <= model::kReportRateLast; ++code)
        EXPECT_EQ(ReportRateOfHz(ReportRateHz(code)), code);
    EXPECT_EQ(ReportRateOfHz(300), std::nullopt);
    EXPECT_EQ(DirectionOfWord("spread"), model::kDirectionLeft);
    EXPECT_EQ(DirectionOfWord("down"), model::kDirectionRight);
    EXPECT_EQ(DirectionWord(3, model::kDirectionRight), "gather");
    EXPECT_EQ(DirectionWord(15, model::kDirectionLeft), "up");
    EXPECT_EQ(DirectionWord(1, model::kDirectionRight), "right");
}

} // namespace
} // namespace tavrix::ctl
