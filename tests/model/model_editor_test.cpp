#include <mutex>

#include <gtest/gtest.h>

#include "model/model_editor.h"

namespace tavrix::model {
namespace {

MacroRecord Macro(uint16_t number, uint16_t newFlag = 0)
{
    MacroRecord record;
    record.number = number;
    record.newFlag = newFlag;
    return record;
}

class ModelEditorTest : public ::testing::Test {
protected:
    KeyAssignment& Slot(int profile, size_t slot) { return m_model.image.blocks[static_cast<size_t>(profile)][slot]; }

    ConfigModel m_model;
    std::recursive_mutex m_lock;
    ModelEditor m_editor{m_model, m_lock};
};

TEST_F(ModelEditorTest, AssignKeyWritesThreeFieldsKeepsTheLampAndDropsTheText)
{
    Slot(1, 0x1E) = {kTypeDefaultWithText, 0x1234, 77, 1, 0xDEAD};
    m_model.texts.Set(512 + 0x1E, u"hello");
    EXPECT_EQ(m_editor.AssignKey(1, 0x1E, kTypeKey, 0, 0x30), 1);
    EXPECT_EQ(Slot(1, 0x1E), (KeyAssignment{kTypeKey, 0, 0x30, 1, 0}));
    EXPECT_EQ(m_model.texts.Text(512 + 0x1E), nullptr);
    EXPECT_EQ(m_model.texts.TotalSize(), 0u);
    EXPECT_EQ(m_editor.ReadKeySlot(1, 0x1E), Slot(1, 0x1E));
}

// The fourth block is the model's, not a profile of the keyboard's.
TEST_F(ModelEditorTest, ProfilesAndSlotsOutOfRangeChangeNothing)
{
    Slot(3, 0x1E) = {kTypeKey, 0, 0x30};
    const ModelImage before = m_model.image;
    const struct {
        int profile;
        size_t slot;
    } cases[] = {{-1, 0x1E}, {3, 0x1E}, {0, kSlotsPerBlock}};
    for (const auto& c : cases) {
        EXPECT_EQ(m_editor.AssignKey(c.profile, c.slot, kTypeMacro, 1, 1), 0) << c.profile << " " << c.slot;
        EXPECT_EQ(m_editor.ReadKeySlot(c.profile, c.slot), KeyAssignment{}) << c.profile << " " << c.slot;
    }
    EXPECT_EQ(m_model.image, before);
}

TEST_F(ModelEditorTest, CopiedMacrosAreMarkedCommitted)
{
    ASSERT_TRUE(m_model.macros.Assign({Macro(3, 1), Macro(8)}));
    const std::vector<MacroRecord> copies = m_editor.CopyMacros();
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[0].number, 3);
    EXPECT_EQ(copies[0].newFlag, 0);
    EXPECT_EQ(copies[1].number, 8);
}

// Every block counts, G1 of bank A included, and only slots that play a macro.
TEST_F(ModelEditorTest, AMacroIsAssignedWhileAnySlotOfAnyBlockPlaysIt)
{
    const struct {
        int block;
        size_t slot;
        KeyAssignment assignment;
        bool assigned;
    } cases[] = {
        {0, 0x1E, {kTypeMacro, 1, 5}, true}, {2, 256, {kTypeMacro, 3, 5}, true},   {3, 0x10, {kTypeMacro, 1, 5}, true},
        {1, 0x1E, {kTypeKey, 0, 5}, false},  {1, 0x1F, {kTypeMacro, 1, 6}, false},
    };
    for (const auto& c : cases) {
        ConfigModel model;
        model.image.blocks[static_cast<size_t>(c.block)][c.slot] = c.assignment;
        const ModelEditor editor(model, m_lock);
        EXPECT_EQ(editor.IsMacroAssigned(5), c.assigned) << "block " << c.block << " slot " << c.slot;
    }
}

// The slots of the four blocks that play a macro, against a store that held 2, 5 and 7 and now
// takes a list in which 5 is gone and 7 belongs to a macro made since.
TEST_F(ModelEditorTest, CommitReplacesTheStoreAndRechecksEveryMacroKey)
{
    ASSERT_TRUE(m_model.macros.Assign({Macro(2), Macro(5), Macro(7)}));
    const struct {
        int block;
        size_t slot;
        KeyAssignment before;
        KeyAssignment after;
    } cases[] = {
        {0, 0x1E, {kTypeMacro, 3, 2}, {kTypeMacro, 3, 2}},   // still there
        {1, 0x30, {kTypeMacro, 1, 5}, {kTypeDefault, 1, 5}}, // gone
        {2, 260, {kTypeMacro, 4, 7}, {kTypeDefault, 4, 7}},  // its number now names a new macro
        {3, 0x10, {kTypeMacro, 1, 0}, {kTypeMacro, 1, 9}},   // none chosen yet: the first macro
        {0, 0x20, {kTypeKey, 0, 5}, {kTypeKey, 0, 5}},       // not a macro key
        {2, 0x21, {kTypeMedia, 0, 7}, {kTypeMedia, 0, 7}},
    };
    for (const auto& c : cases) {
        Slot(c.block, c.slot) = c.before;
    }
    EXPECT_EQ(m_editor.CommitMacros({Macro(9, 1), Macro(2), Macro(7, 1)}), 1);
    for (const auto& c : cases) {
        EXPECT_EQ(Slot(c.block, c.slot), c.after) << "block " << c.block << " slot " << c.slot;
    }
    const std::span<const MacroRecord> store = m_model.macros.Records();
    ASSERT_EQ(store.size(), 3u);
    EXPECT_EQ(store[0].number, 9);
    EXPECT_EQ(store[2].number, 7);
    for (const MacroRecord& record : store) {
        EXPECT_EQ(record.newFlag, 0) << record.number;
    }
}

TEST_F(ModelEditorTest, CommitWithAnEmptyListLeavesUnchosenMacroKeysAlone)
{
    ASSERT_TRUE(m_model.macros.Assign({Macro(2)}));
    Slot(0, 0x1E) = {kTypeMacro, 1, 0};
    Slot(0, 0x1F) = {kTypeMacro, 1, 2};
    EXPECT_EQ(m_editor.CommitMacros({}), 1);
    EXPECT_EQ(Slot(0, 0x1E), (KeyAssignment{kTypeMacro, 1, 0}));
    EXPECT_EQ(Slot(0, 0x1F), (KeyAssignment{kTypeDefault, 1, 2}));
    EXPECT_TRUE(m_model.macros.Empty());
}

TEST_F(ModelEditorTest, CommitOfMoreThanAHundredMacrosChangesNothing)
{
    ASSERT_TRUE(m_model.macros.Assign({Macro(2)}));
    Slot(0, 0x1E) = {kTypeMacro, 1, 2};
    const ConfigModel before = m_model;
    EXPECT_EQ(m_editor.CommitMacros(std::vector<MacroRecord>(kMaxMacros + 1, Macro(4))), 0);
    EXPECT_EQ(m_model.image, before.image);
    EXPECT_EQ(m_model.macros, before.macros);
}

} // namespace
} // namespace tavrix::model
