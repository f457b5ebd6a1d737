#include <QMenu>
#include <QToolButton>

#include <gtest/gtest.h>

#include "controls/color_static.h"
#include "controls/skin_color_btn.h"
#include "scripted_prompts.h"
#include "ui_testing.h"

namespace tavrix::controls {
namespace {

using testing::RecordingWindow;

constexpr int kColorId = 1152;

class ColorControlsTest : public testing::UiTest {};

TEST_F(ColorControlsTest, ColorStaticDrawsOnlyItsTextInItsColour)
{
    RecordingWindow window;
    window.resize(120, 40);
    window.setAutoFillBackground(true);
    QPalette palette;
    palette.setColor(QPalette::Window, Qt::blue);
    window.setPalette(palette);
    auto* label = new ColorStatic(1200, &window);
    label->setGeometry(0, 0, 120, 40);
    label->setFont(QFont("DejaVu Sans", 20));
    label->setText("MMMM");
    EXPECT_EQ(label->LabelColor(), QColor(Qt::white));
    label->SetLabelColor(QColor(255, 0, 0));

    const QImage shown = testing::Grab(window);
    bool red = false;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QColor pixel = shown.pixelColor(x, y);
            red = red || pixel == QColor(255, 0, 0);
            // Anti-aliased edges mix red and blue; nothing else is painted.
            EXPECT_EQ(pixel.green(), 0) << x << "," << y;
        }
    }
    EXPECT_TRUE(red);
    EXPECT_EQ(shown.pixelColor(119, 39), QColor(Qt::blue));
}

class SkinColorBtnTest : public testing::UiTest {
protected:
    void SetUp() override
    {
        window = std::make_unique<RecordingWindow>();
        button = new CSkinColorBtn(kColorId, window.get());
        button->setGeometry(0, 0, 60, 24);
        button->SetColor(Qt::green);
        button->SetPalette({Qt::red, Qt::blue, Qt::yellow});
        button->SetColumnsNumber(2);
        button->EnableOtherButton("Other...");
    }

    QAction* OtherAction() const
    {
        for (QAction* action : button->Popup()->actions()) {
            if (action->text() == "Other...") {
                return action;
            }
        }
        return nullptr;
    }

    std::unique_ptr<RecordingWindow> window;
    CSkinColorBtn* button = nullptr;
};

TEST_F(SkinColorBtnTest, PickingFromThePaletteSetsTheColourAndNotifies)
{
    testing::Click(*button);
    ASSERT_NE(button->Popup(), nullptr);
    const auto swatches = button->Popup()->findChildren<QToolButton*>();
    ASSERT_EQ(swatches.size(), 3);
    swatches[1]->click();
    EXPECT_EQ(button->GetColor(), QColor(Qt::blue));
    EXPECT_EQ(window->commands, std::vector<int>{kColorId});
}

TEST_F(SkinColorBtnTest, OtherEntryAsksForAColourAndACancelChangesNothing)
{
    testing::ScriptedPrompts prompts;
    prompts.colorAnswers = {std::nullopt, QColor(10, 20, 30)};
    button->ShowPopup();
    OtherAction()->trigger();
    EXPECT_EQ(button->GetColor(), QColor(Qt::green));
    EXPECT_TRUE(window->commands.empty());

    button->ShowPopup();
    OtherAction()->trigger();
    EXPECT_EQ(button->GetColor(), QColor(10, 20, 30));
    EXPECT_EQ(window->commands, std::vector<int>{kColorId});
    EXPECT_EQ(prompts.colorRequests, (std::vector<QColor>{Qt::green, Qt::green}));
}

TEST_F(SkinColorBtnTest, FaceShowsTheColourOrTheAutomaticOne)
{
    const QPoint inSwatch = CSkinColorBtn::SwatchRect(button->rect().adjusted(4, 4, -4, -4)).center();
    EXPECT_EQ(testing::Grab(*button).pixelColor(inSwatch), QColor(Qt::green));

    button->EnableAutomaticButton("Automatic", Qt::magenta);
    button->SetColor(QColor());
    EXPECT_EQ(button->ShownColor(), QColor(Qt::magenta));
    EXPECT_EQ(testing::Grab(*button).pixelColor(inSwatch), QColor(Qt::magenta));
}

TEST_F(SkinColorBtnTest, FaceParts)
{
    const QRect content(4, 4, 52, 16);
    // Content edges 4..56 by 4..20: the swatch ends at 57 / 2 + 5 = 33, the drop-down part starts at
    // 57 / 2 + 3 + 3 = 34.
    EXPECT_EQ(CSkinColorBtn::SwatchRect(content), QRect(QPoint(3, 3), QPoint(32, 20)));
    EXPECT_EQ(CSkinColorBtn::DropDownRect(content), QRect(QPoint(34, 2), QPoint(56, 21)));
}

} // namespace
} // namespace tavrix::controls
