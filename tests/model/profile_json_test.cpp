#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "model/key_catalogue.h"
#include "model/key_code.h"
#include "model/profile_file.h"
#include "model/profile_json.h"
#include "model/profile_json_schema.h"

namespace tavrix::model {
namespace {

using nlohmann::json;

constexpr uint16_t kKeyA = 0x01E;
constexpr uint16_t kKeyB = 0x030;
constexpr uint16_t kKeyC = 0x02E;
constexpr uint16_t kCapsLock = 0x03A;
constexpr uint16_t kLeftShift = 0x02A;

// Random models, each field drawn over its whole width with the values that mean something
// drawn more often.
class RandomModels {
public:
    explicit RandomModels(uint32_t seed) : m_rng(seed) {}

    // largest: every slot of every block used, 100 macros of 2000 actions with the longest names.
    std::unique_ptr<ConfigModel> Make(bool largest)
    {
        auto model = std::make_unique<ConfigModel>();
        NewModel(*model, 0);
        ProfileFileHeader& header = model->image.header;
        header.reserved1 = Maybe(Next32());
        header.reserved2 = Maybe(Next32());
        header.reserved3 = static_cast<uint16_t>(Maybe(Next32()));
        if (Chance(4))
            model->image.description[Below(kDeviceDescriptionSize)] ^= 0x5A;
        for (size_t slot = 0; slot < kSlotCount; ++slot) {
            if (largest || Chance(8))
                FillSlot(*model, slot);
        }
        const size_t macros = largest ? kMaxMacros : Below(6);
        std::vector<MacroRecord> records(macros);
        for (MacroRecord& record : records)
            FillMacro(record, largest);
        EXPECT_TRUE(model->macros.Assign(std::move(records)));
        return model;
    }

private:
    uint32_t Next32() { return static_cast<uint32_t>(m_rng()); }
    size_t Below(size_t limit) { return static_cast<size_t>(m_rng() % limit); }
    bool Chance(size_t oneIn) { return Below(oneIn) == 0; }
    uint32_t Maybe(uint32_t value) { return Chance(2) ? 0 : value; }

    std::u16string Text(size_t length)
    {
        std::u16string text;
        for (size_t i = 0; i < length; ++i) {
            // Surrogates on their own included: the file keeps whatever units it is given.
            text.push_back(static_cast<char16_t>(Chance(3) ? 'a' + Below(26) : 1 + Below(0xFFFF)));
        }
        return text;
    }

    void FillSlot(ConfigModel& model, size_t index)
    {
        KeyAssignment& slot = model.image.Slot(index);
        slot.type = static_cast<uint16_t>(Chance(10) ? Next32() : Below(9));
        if (Chance(3))
            slot.gKeyCode = static_cast<uint16_t>(Next32());
        switch (slot.type) {
        case kTypeKey:
            slot.value = Chance(4) ? Next32() : KeyCatalogue()[Below(kKeyIndexCount)].code;
            break;
        case kTypeMedia:
        case kTypeFunction:
            slot.value = Chance(4) ? Next32() : static_cast<uint32_t>(Below(20));
            break;
        case kTypeDefaultWithText:
        case kTypeNoOutputWithText:
            model.texts.Set(index, Text(Below(12)));
            break;
        default:
            slot.value = Maybe(Next32());
        }
        slot.lampFlag = Chance(2) ? static_cast<uint32_t>(Below(2)) : Maybe(Next32());
        slot.reserved = Maybe(Next32());
    }

    MacroAction Action(uint32_t maxDelay)
    {
        MacroAction action;
        action.delay = Chance(3) ? static_cast<uint32_t>(Below(maxDelay + 1)) : Next32() % (maxDelay + 1);
        action.keyCode = Chance(2) ? KeyCatalogue()[Below(kKeyIndexCount)].code : static_cast<uint16_t>(Next32());
        action.direction = static_cast<uint16_t>(Chance(8) ? Next32() : Below(2));
        return action;
    }

    void FillMacro(MacroRecord& record, bool largest)
    {
        record.SetName(Text(largest ? kMaxMacroNameLength : Below(kMaxMacroNameLength + 1)));
        if (Chance(4))
            record.name[MacroRecord::kNameUnits - 1 - Below(3)] = static_cast<char16_t>(1 + Below(0xFFFF));
        record.repeatCount = static_cast<uint8_t>(Next32());
        record.reserved1 = static_cast<uint8_t>(Maybe(Next32()));
        record.newFlag = static_cast<uint16_t>(Maybe(Below(2)));
        record.playMode = static_cast<uint16_t>(Maybe(Next32()));
        record.number = static_cast<uint16_t>(Next32());
        record.reserved2 = static_cast<uint16_t>(Maybe(Next32()));
        record.actionCount = static_cast<uint16_t>(largest ? kMaxMacroActions : Below(40));
        for (size_t i = 0; i < record.actionCount; ++i)
            record.actions[i] = Action(kMaxMacroDelayMs);
        // Slots past the count, as a file may carry them: never played, kept all the same.
        if (!largest && Chance(3))
            record.actions[record.actionCount + Below(5)] = Action(UINT32_MAX - 1);
    }

    std::mt19937 m_rng;
};

// The profile file's bytes written from the model, as the program writes every file.
std::vector<uint8_t> FileBytes(const ConfigModel& model)
{
    ConfigModel copy = model;
    return EncodeProfileFile(copy);
}

std::string JsonOf(const ConfigModel& model)
{
    std::string text;
    ProfileJsonError error;
    EXPECT_TRUE(EncodeProfileJson(model, {}, text, error)) << error.Message();
    return text;
}

// A file through JSON and back: the bytes the second file would have.
std::vector<uint8_t> ThroughJson(const std::vector<uint8_t>& file)
{
    auto loaded = std::make_unique<ConfigModel>();
    EXPECT_TRUE(LoadProfileBytes(file, *loaded));
    auto back = std::make_unique<ConfigModel>();
    ProfileLighting lighting;
    ProfileJsonError error;
    EXPECT_TRUE(DecodeProfileJson(JsonOf(*loaded), *back, lighting, error)) << error.Message();
    EXPECT_EQ(lighting, ProfileLighting{}) << "a file has no lighting";
    return FileBytes(*back);
}

TEST(ProfileJson, TheLargestModelComesBackByteForByte)
{
    RandomModels models(1);
    const std::vector<uint8_t> file = FileBytes(*models.Make(true));
    ASSERT_GT(file.size(), ProfileFileSize(kMaxMacros, 0));
    EXPECT_TRUE(ThroughJson(file) == file);
}

TEST(ProfileJson, RandomModelsComeBackByteForByte)
{
    RandomModels models(20240);
    for (int i = 0; i < 40; ++i) {
        const std::vector<uint8_t> file = FileBytes(*models.Make(false));
        ASSERT_TRUE(ThroughJson(file) == file) << "model " << i;
    }
}

TEST(ProfileJson, ReadsAsTheKeysAndMacrosItHolds)
{
    auto model = std::make_unique<ConfigModel>();
    NewModel(*model, 0);
    for (size_t block = 1; block < 3; ++block)
        ClearProfileBlock(model->image.blocks[block]);
    model->image.blocks[1][KeyIndexOf(kKeyA)] = {kTypeKey, 0, kKeyB};
    model->image.blocks[0][KeyIndexOf(kCapsLock)] = {kTypeDisabled, 0, 0};
    model->image.blocks[0][GKeySlot(GKeyBank::B, 0)] = {kTypeMacro, 1, 1};
    model->image.blocks[2][KeyIndexOf(kKeyC)] = {kTypeMedia, 0, 7};
    MacroRecord macro;
    macro.number = 1;
    macro.SetName(u"Shift tap");
    macro.actionCount = 2;
    macro.actions[0] = {30, kLeftShift, kMacroPress};
    macro.actions[1] = {0, kLeftShift, kMacroRelease};
    ASSERT_TRUE(model->macros.Add(macro));

    EXPECT_EQ(JsonOf(*model), R"({
  "format": "tavrix-profile",
  "version": 1,
  "profiles": [
    {
      "keys": {
        "CapsLock": {"type": "disabled"}
      },
      "gKeys": {
        "B": {
          "G1": {"type": "macro", "macro": 1, "gKeyCode": 1}
        }
      }
    },
    {
      "keys": {
        "A": {"type": "key", "key": "B"}
      }
    },
    {
      "keys": {
        "C": {"type": "media", "media": "Mute"}
      }
    }
  ],
  "macros": [
    {
      "number": 1,
      "name": "Shift tap",
      "repeat": 1,
      "actions": [
        {"key": "LeftShift", "direction": "press", "delay": 30},
        {"key": "LeftShift", "direction": "release", "delay": 0}
      ]
    }
  ]
}
)");
}

TEST(ProfileJson, AKeyEditedInTheTextReachesTheModel)
{
    auto model = std::make_unique<ConfigModel>();
    NewModel(*model, 0);
    model->image.blocks[0][KeyIndexOf(kKeyA)] = {kTypeKey, 0, kKeyB};
    std::string text = JsonOf(*model);
    const std::string from = R"("key": "B")";
    text.replace(text.find(from), from.size(), R"("key": "C")");

    ProfileLighting lighting;
    ProfileJsonError error;
    ASSERT_TRUE(DecodeProfileJson(text, *model, lighting, error)) << error.Message();
    EXPECT_EQ(model->image.blocks[0][KeyIndexOf(kKeyA)].value, kKeyC);
}

// A lighting block with every byte set, the named ones within their ranges.
LightingBlock SomeLighting(uint8_t seed)
{
    LightingBlock block{};
    for (size_t offset = 0; offset < block.size(); ++offset)
        block[offset] = static_cast<uint8_t>(seed + 37 * offset);
    block[kEffectOffset] = seed;
    for (const json_profile::LightingByteName& byte : json_profile::kLightingBytes)
        block[byte.offset] = static_cast<uint8_t>(seed % (byte.max + 1));
    block[kDirectionOffset] = seed % 2 == 0 ? kDirectionLeft : kDirectionRight;
    return block;
}

TEST(ProfileJson, LightingComesBackWithItsProfile)
{
    auto model = std::make_unique<ConfigModel>();
    NewModel(*model, 0);
    // Named and unnamed effects, and a profile without lighting.
    const ProfileLighting lighting{SomeLighting(6), std::nullopt, SomeLighting(200)};
    std::string text;
    ProfileJsonError error;
    ASSERT_TRUE(EncodeProfileJson(*model, lighting, text, error)) << error.Message();
    const json document = json::parse(text);
    EXPECT_EQ(document["profiles"][0]["lighting"]["effect"], "breathing");
    EXPECT_EQ(document["profiles"][2]["lighting"]["effect"], 200);
    EXPECT_FALSE(document["profiles"][1].contains("lighting"));

    auto back = std::make_unique<ConfigModel>();
    ProfileLighting backLighting;
    ASSERT_TRUE(DecodeProfileJson(text, *back, backLighting, error)) << error.Message();
    EXPECT_EQ(backLighting, lighting);
    EXPECT_TRUE(FileBytes(*back) == FileBytes(*model)) << "the lighting leaves the profile file as it was";
}

// A small valid document, changed in one place by each case below.
json SmallDocument()
{
    auto model = std::make_unique<ConfigModel>();
    NewModel(*model, 0);
    model->image.blocks[1][KeyIndexOf(kKeyA)] = {kTypeKey, 0, kKeyB};
    MacroRecord macro;
    macro.number = 1;
    macro.actionCount = 1;
    macro.actions[0] = {10, kKeyA, kMacroPress};
    EXPECT_TRUE(model->macros.Add(macro));
    std::string text;
    ProfileJsonError error;
    EXPECT_TRUE(EncodeProfileJson(*model, {SomeLighting(5), std::nullopt, std::nullopt}, text, error));
    return json::parse(text);
}

TEST(ProfileJson, RefusesDamageNamingThePlace)
{
    struct Case {
        const char* what;
        std::function<void(json&)> damage;
        std::string place;
    };
    const auto set = [](const char* pointer, json value) {
        return [pointer, value](json& document) { document[json::json_pointer(pointer)] = value; };
    };
    const auto erase = [](const char* parent, const char* member) {
        return [parent, member](json& document) { document[json::json_pointer(parent)].erase(member); };
    };
    const std::vector<Case> cases{
        {"unknown key name", set("/profiles/1/keys/Foo", {{"type", "default"}}), "/profiles/1/keys/Foo"},
        {"unknown key as a value", set("/profiles/1/keys/A/key", "Foo"), "/profiles/1/keys/A/key"},
        {"delay out of range", set("/macros/0/actions/0/delay", 40951), "/macros/0/actions/0/delay"},
        {"101st macro",
         [](json& document) {
             json& macros = document["macros"];
             for (int number = 2; number <= 101; ++number) {
                 macros.push_back(macros[0]);
                 macros.back()["number"] = number;
             }
         },
         "/macros/100"},
        {"2001st action",
         [](json& document) {
             json& actions = document["macros"][0]["actions"];
             while (actions.size() <= kMaxMacroActions)
                 actions.push_back(actions[0]);
         },
         "/macros/0/actions/2000"},
        {"another format", set("/format", "something-else"), "/format"},
        {"a later version", set("/version", 2), "/version"},
        {"two profiles", [](json& document) { document["profiles"].erase(2); }, "/profiles"},
        {"misspelt member", set("/profiles/0/kyes", json::object()), "/profiles/0/kyes"},
        {"unknown slot type", set("/profiles/1/keys/A/type", "keys"), "/profiles/1/keys/A/type"},
        {"unknown media key", set("/profiles/1/keys/A", {{"type", "media"}, {"media", "Louder"}}),
         "/profiles/1/keys/A/media"},
        {"named and plain value", set("/profiles/1/keys/A/value", 5), "/profiles/1/keys/A/value"},
        {"key code too wide", set("/profiles/1/keys/A/key", 65536), "/profiles/1/keys/A/key"},
        {"negative lamp flag", set("/profiles/1/keys/A/lampFlag", -1), "/profiles/1/keys/A/lampFlag"},
        {"fraction", set("/macros/0/repeat", 1.5), "/macros/0/repeat"},
        {"repeat too wide", set("/macros/0/repeat", 256), "/macros/0/repeat"},
        {"name too long", set("/macros/0/name", std::string(kMaxMacroNameLength + 1, 'x')), "/macros/0/name"},
        {"name with a terminator", set("/macros/0/name", std::string("a\0b", 3)), "/macros/0/name"},
        {"named slot among the others", set("/profiles/0/otherSlots", {{"30", {{"type", "disabled"}}}}),
         "/profiles/0/otherSlots/30"},
        {"G-key among the others", set("/profiles/0/otherSlots", {{"256", {{"type", "disabled"}}}}),
         "/profiles/0/otherSlots/256"},
        {"slot past the block", set("/profiles/0/otherSlots", {{"512", {{"type", "disabled"}}}}),
         "/profiles/0/otherSlots/512"},
        {"tenth G-key", set("/profiles/0/gKeys/A/G10", {{"type", "disabled"}}), "/profiles/0/gKeys/A/G10"},
        {"unused action in use",
         set("/macros/0/unusedActions", {{"0", {{"key", "A"}, {"direction", "press"}, {"delay", 0}}}}),
         "/macros/0/unusedActions/0"},
        {"direction word", set("/macros/0/actions/0/direction", "down"), "/macros/0/actions/0/direction"},
        {"missing number", erase("/macros/0", "number"), "/macros/0/number"},
        {"missing slot type", erase("/profiles/1/keys/A", "type"), "/profiles/1/keys/A/type"},
        {"text on a key slot", set("/profiles/1/keys/A/text", "x"), "/profiles/1/keys/A/text"},
        {"profiles not a list", set("/profiles", json::object()), "/profiles"},
        {"description too short", set("/deviceDescription", "4B48"), "/deviceDescription"},
        {"unknown effect", set("/profiles/0/lighting/effect", "Breathing"), "/profiles/0/lighting/effect"},
        {"missing effect", erase("/profiles/0/lighting", "effect"), "/profiles/0/lighting/effect"},
        {"brightness out of range", set("/profiles/0/lighting/brightness", 5), "/profiles/0/lighting/brightness"},
        {"direction between", set("/profiles/0/lighting/direction", 7), "/profiles/0/lighting/direction"},
        {"four colours", [](json& document) { document["profiles"][0]["lighting"]["colours"].erase(4); },
         "/profiles/0/lighting/colours"},
        {"colour not hexadecimal", set("/profiles/0/lighting/colours/1", "red"), "/profiles/0/lighting/colours/1"},
        {"named byte among the others", set("/profiles/0/lighting/otherBytes/1", 3),
         "/profiles/0/lighting/otherBytes/1"},
        {"colour byte among the others", set("/profiles/0/lighting/otherBytes/6", 3),
         "/profiles/0/lighting/otherBytes/6"},
        {"misspelt lighting member", set("/profiles/0/lighting/brightnes", 3), "/profiles/0/lighting/brightnes"},
        {"lighting of the spare block", set("/spareBlock", {{"lighting", json::object()}}), "/spareBlock/lighting"},
    };
    for (const Case& c : cases) {
        json document = SmallDocument();
        c.damage(document);
        auto model = std::make_unique<ConfigModel>();
        model->image.blocks[2][0].type = kTypeDisabled;
        const ConfigModel before = *model;
        ProfileLighting lighting{std::nullopt, SomeLighting(1), std::nullopt};
        const ProfileLighting lightingBefore = lighting;
        ProfileJsonError error;
        EXPECT_FALSE(DecodeProfileJson(document.dump(), *model, lighting, error)) << c.what;
        EXPECT_EQ(lighting, lightingBefore) << c.what << ": lighting changed";
        EXPECT_EQ(error.place, c.place) << c.what << ": " << error.Message();
        EXPECT_FALSE(error.reason.empty()) << c.what;
        EXPECT_TRUE(model->image == before.image && model->macros == before.macros) << c.what << ": model changed";
    }
}

TEST(ProfileJson, RefusesWhatIsNoJsonWithItsPosition)
{
    auto model = std::make_unique<ConfigModel>();
    ProfileLighting lighting;
    ProfileJsonError error;
    EXPECT_FALSE(
        DecodeProfileJson("{\n  \"format\": \"tavrix-profile\",\n  \"version\" 1\n}", *model, lighting, error));
    EXPECT_EQ(error.place, "");
    EXPECT_NE(error.reason.find("line 3"), std::string::npos) << error.reason;
    EXPECT_FALSE(DecodeProfileJson("", *model, lighting, error));
    EXPECT_FALSE(DecodeProfileJson("[]", *model, lighting, error));
}

TEST(ProfileJson, AModelWithADelayTheKeyboardCannotPlayIsNotWritten)
{
    auto model = std::make_unique<ConfigModel>();
    MacroRecord macro;
    macro.actionCount = 2;
    macro.actions[1].delay = kMaxMacroDelayMs;
    ASSERT_TRUE(model->macros.Add(macro));
    macro.actions[1].delay = kMaxMacroDelayMs + 1;
    ASSERT_TRUE(model->macros.Add(macro));
    std::string text = "untouched";
    ProfileJsonError error;
    EXPECT_FALSE(EncodeProfileJson(*model, {}, text, error));
    EXPECT_EQ(error.place, "/macros/1/actions/1/delay");
    EXPECT_EQ(text, "untouched");
}

} // namespace
} // namespace tavrix::model
