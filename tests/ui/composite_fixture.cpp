#include "composite_fixture.h"

#include <QAbstractItemView>
#include <QTimer>
#include <mutex>

#include "app/app_state.h"
#include "model/key_catalogue.h"

namespace tavrix::testing {

void CompositeTest::SetUp()
{
    MainWindowTest::SetUp();
    m_ownKeyboard = true;
    m_ownComposite = true;
}

void CompositeTest::StartShown()
{
    Start();
    ASSERT_TRUE(WaitUntil([&] { return Dlg().isVisible() && Profile() >= 0; }));
}

void CompositeTest::WhileOpen(const std::function<void()>& open,
                              const std::function<void(ui::Tavrix_DlgComposite&)>& steps)
{
    bool ran = false;
    QTimer::singleShot(0, m_composite.get(), [&] {
        ran = true;
        EXPECT_TRUE(m_composite->IsOpen());
        steps(*m_composite);
        m_composite->CloseIfOpen();
    });
    open();
    EXPECT_TRUE(ran) << "the dialog ran";
    EXPECT_FALSE(m_composite->IsOpen());
}

void CompositeTest::SetMacros(std::initializer_list<uint16_t> numbers)
{
    std::vector<model::MacroRecord> records;
    for (uint16_t number : numbers) {
        model::MacroRecord record;
        record.number = number;
        record.SetName(u"Macro " + std::u16string(1, static_cast<char16_t>(u'0' + number % 10)));
        records.push_back(record);
    }
    std::lock_guard lock(app::ModelLock());
    ASSERT_TRUE(Dlg().Sync().Model().macros.Assign(std::move(records)));
}

std::vector<model::MacroRecord> CompositeTest::StoredMacros()
{
    std::lock_guard lock(app::ModelLock());
    const std::span<const model::MacroRecord> records = Dlg().Sync().Model().macros.Records();
    return {records.begin(), records.end()};
}

std::vector<model::MacroAction> CompositeTest::ActionRows(const ui::Tavrix_DlgComposite& dialog)
{
    const QAbstractItemModel& rows = *dialog.GetDlgItem<QAbstractItemView>(ui::kActionListId)->model();
    std::vector<model::MacroAction> actions;
    for (int row = 0; row < rows.rowCount(); ++row) {
        const auto cell = [&](int column) { return rows.index(row, column).data(Qt::EditRole); };
        actions.push_back({cell(2).toString().toUInt(),
                           model::KeyAtListPosition(static_cast<uint16_t>(cell(0).toUInt())),
                           static_cast<uint16_t>(cell(1).toUInt())});
    }
    return actions;
}

model::KeyEntry CompositeTest::KeyboardEntryOf(int profile, uint16_t keyCode)
{
    const sim::KeyboardMemory memory = Sim().Memory();
    model::KeyTable defaults{};
    model::KeyTable table{};
    std::copy(memory.defaultKeys.begin(), memory.defaultKeys.end(), defaults.begin());
    std::copy(memory.keyTables[static_cast<size_t>(profile)].begin(),
              memory.keyTables[static_cast<size_t>(profile)].end(), table.begin());
    for (size_t position = 0; position < model::kKeyTablePositions; ++position) {
        if (model::KeyFromEntry(model::EntryAt(defaults, position)) == keyCode) {
            return model::EntryAt(table, position);
        }
    }
    ADD_FAILURE() << "the keyboard has no key " << std::hex << keyCode;
    return {};
}

} // namespace tavrix::testing
