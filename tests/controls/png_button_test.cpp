#include <QCursor>
#include <QToolTip>

#include <gtest/gtest.h>

#include "controls/png_button.h"
#include "controls/png_button_caption.h"
#include "platform/clock.h"
#include "ui_testing.h"

namespace tavrix::controls {
namespace {

using testing::RecordingWindow;

constexpr int kButtonId = 1001;

QPixmap SolidSheet(const QColor& color)
{
    QPixmap sheet(200, 100);
    sheet.fill(color);
    return sheet;
}

// A sheet whose every pixel names its own position, so a cut shows where it came from.
QPixmap PositionSheet()
{
    QImage image(200, 100, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, qRgb(x, y, 77));
        }
    }
    return QPixmap::fromImage(image);
}

class PngButtonTest : public testing::UiTest {
protected:
    void SetUp() override
    {
        window = std::make_unique<RecordingWindow>();
        window->resize(200, 100);
        button = new CPngButton(kButtonId, window.get());
        button->setGeometry(40, 20, 30, 10);
        button->SetSkin(40, 20, {&normal, &over, &down, &disabled, &selected});
    }

    // The colour in the middle of what the button shows now.
    QColor Shown() { return testing::Grab(*button).pixelColor(button->rect().center()); }

    QPixmap normal = SolidSheet(Qt::white);
    QPixmap over = SolidSheet(Qt::yellow);
    QPixmap down = SolidSheet(Qt::blue);
    QPixmap disabled = SolidSheet(Qt::gray);
    QPixmap selected = SolidSheet(Qt::green);
    QPixmap checkOff = SolidSheet(Qt::darkRed);
    QPixmap checkOn = SolidSheet(Qt::red);
    std::unique_ptr<RecordingWindow> window;
    CPngButton* button = nullptr;
};

TEST_F(PngButtonTest, ShowsTheSheetAreaOnePixelUpAndLeftOfItsPosition)
{
    const QPixmap sheet = PositionSheet();
    button->SetSheets({&sheet, &sheet, &sheet, &sheet, &sheet});
    const QImage shown = testing::Grab(*button);
    const QImage expected = sheet.toImage().copy(39, 19, 30, 10).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(shown.pixelColor(0, 0), QColor(39, 19, 77));
    EXPECT_EQ(shown.pixelColor(29, 9), QColor(68, 28, 77));
}

TEST_F(PngButtonTest, StateOrderChoosesTheSheet)
{
    const struct {
        const char* name;
        bool enabled, checkMode, checkState, pressed, hover, isSelected;
        QColor expected;
    } cases[] = {
        {"disabled beats check", false, true, true, false, false, false, Qt::gray},
        {"disabled beats everything", false, false, false, true, true, true, Qt::gray},
        {"check on", true, true, true, true, true, true, Qt::red},
        {"check off", true, true, false, false, false, false, Qt::darkRed},
        {"pressed beats hover and selected", true, false, false, true, true, true, Qt::blue},
        {"hover beats selected", true, false, false, false, true, true, Qt::yellow},
        {"selected", true, false, false, false, false, true, Qt::green},
        {"normal", true, false, false, false, false, false, Qt::white},
    };
    for (const auto& c : cases) {
        button->SetCheckSheets(&checkOff, &checkOn, c.checkMode, c.checkState);
        button->setEnabled(c.enabled);
        button->SetSelected(c.isSelected, true);
        if (c.hover) {
            testing::Hover(*button);
        }
        button->setDown(c.pressed);
        EXPECT_EQ(Shown(), c.expected) << c.name;
        button->setDown(false);
    }
}

TEST_F(PngButtonTest, PressedSelectedButtonGoesDownThenOverThenSelected)
{
    button->SetSelected(true, true);
    testing::Hover(*button);
    testing::Press(*button, button->rect().center());
    EXPECT_EQ(Shown(), QColor(Qt::blue));
    testing::Release(*button, button->rect().center());
    EXPECT_EQ(Shown(), QColor(Qt::yellow));
    testing::Leave(*button);
    EXPECT_EQ(Shown(), QColor(Qt::green));
    EXPECT_EQ(button->LastDrawnSheet(), &selected);
}

TEST_F(PngButtonTest, ClickAndDoubleClickReachTheWindowAsCommands)
{
    testing::Click(*button);
    EXPECT_EQ(window->commands, std::vector<int>{kButtonId});
    window->commands.clear();
    testing::DoubleClick(*button);
    EXPECT_EQ(window->commands, (std::vector<int>{kButtonId, kButtonId}));
}

TEST_F(PngButtonTest, ResettingTheSheetsForgetsHoverAndPress)
{
    testing::Hover(*button);
    button->setDown(true);
    button->SetSheets({&normal, &over, &down, &disabled, &selected});
    EXPECT_FALSE(button->IsHovered());
    EXPECT_FALSE(button->isDown());
    EXPECT_EQ(Shown(), QColor(Qt::white));
}

TEST_F(PngButtonTest, MissingSheetDrawsNothingAndFrameModeDrawsOnlyTheFrame)
{
    window->setAutoFillBackground(true);
    QPalette palette;
    palette.setColor(QPalette::Window, Qt::black);
    window->setPalette(palette);
    button->SetSheets({});
    EXPECT_EQ(Shown(), QColor(Qt::black));

    button->SetSheets({&normal, &over, &down, &disabled, &selected});
    button->SetFrame(Qt::red, true);
    const QImage shown = testing::Grab(*button);
    for (const QPoint edge : {QPoint(0, 5), QPoint(1, 5), QPoint(28, 5), QPoint(29, 5), QPoint(15, 0), QPoint(15, 9)}) {
        EXPECT_EQ(shown.pixelColor(edge), QColor(Qt::red)) << edge.x() << "," << edge.y();
    }
    for (const QPoint inside : {QPoint(2, 5), QPoint(27, 5), QPoint(15, 2), QPoint(15, 7)}) {
        EXPECT_EQ(shown.pixelColor(inside), QColor(Qt::black)) << inside.x() << "," << inside.y();
    }
}

TEST_F(PngButtonTest, DrawCallbackLearnsWhetherTheNormalSheetWasUsed)
{
    std::vector<bool> flags;
    button->SetDrawCallback([&](CPngButton& drawn, QPainter&, bool normalSheet) {
        EXPECT_EQ(&drawn, button);
        flags.push_back(normalSheet);
    });
    testing::Grab(*button);
    button->SetSelected(true, true);
    testing::Grab(*button);
    EXPECT_EQ(flags, (std::vector<bool>{true, false}));
}

TEST_F(PngButtonTest, CaptionIsWrittenInTheStateColour)
{
    button->setGeometry(40, 20, 80, 30);
    button->setText("WWWW");
    CaptionColors colors{Qt::red, Qt::yellow, Qt::cyan, Qt::gray, Qt::magenta};
    button->SetTextStyle(true, 14, "DejaVu Sans", colors,
                         TextFormat::Center | TextFormat::VCenter | TextFormat::SingleLine);
    const QImage shown = testing::Grab(*button);
    bool red = false;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            red = red || shown.pixelColor(x, y) == QColor(Qt::red);
        }
    }
    EXPECT_TRUE(red);
    EXPECT_EQ(button->ChosenColor(), QColor(Qt::red));
}

TEST_F(PngButtonTest, CaptionFontFollowsDpiAndRotation)
{
    const QFont upright = MakeCaptionFont("Arial Unicode MS", 10, 96, false);
    EXPECT_EQ(upright.pixelSize(), 13);
    EXPECT_EQ(upright.weight(), 400);
    const QFont turned = MakeCaptionFont("Arial Unicode MS", 8, 120, true);
    EXPECT_EQ(turned.pixelSize(), 13);
    EXPECT_EQ(turned.weight(), 956);
}

TEST_F(PngButtonTest, RotatedCaptionIsCentredForItsAngle)
{
    // 26.8 degrees: cos 0.8926, sin 0.4509. Text 40 x 12 in a 60 x 40 button: cx 35, cy 18.
    EXPECT_EQ(RotatedCaptionRect(QRect(0, 0, 60, 40), QSize(40, 12), 268), QRect(QPoint(10, 0), QPoint(59, 33)));
    // A text wider than the button keeps its left edge.
    EXPECT_EQ(RotatedCaptionRect(QRect(0, 0, 20, 40), QSize(100, 12), 0), QRect(QPoint(0, 0), QPoint(19, 25)));
}

TEST_F(PngButtonTest, TurnedCaptionRisesCentredInTheButton)
{
    button->setGeometry(40, 20, 120, 44);
    button->setText("Turned");
    const CaptionColors colors{Qt::red, Qt::red, Qt::red, Qt::red, Qt::red};
    button->SetTextStyle(true, 10, "DejaVu Sans", colors, TextFormat::Bottom | TextFormat::SingleLine);
    button->SetTextRotation(268, true);
    const QImage shown = testing::Grab(*button);
    QRect caption;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            if (shown.pixelColor(x, y) == QColor(Qt::red)) {
                caption = caption.united(QRect(x, y, 1, 1));
            }
        }
    }
    ASSERT_FALSE(caption.isEmpty());
    EXPECT_GT(caption.top(), 0);
    EXPECT_LT(caption.bottom(), shown.height() - 1);
    EXPECT_NEAR(caption.center().x(), shown.width() / 2, 6);
    EXPECT_NEAR(caption.center().y(), shown.height() / 2, 6);
    // Turned by 26.8 degrees the word climbs well over one line's height.
    EXPECT_GT(caption.height(), button->CaptionFont().pixelSize() * 3 / 2);
}

TEST_F(PngButtonTest, TextFormatBitsMapToQtFlags)
{
    EXPECT_EQ(QtTextFlags(37), Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine);
    EXPECT_EQ(QtTextFlags(40), Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine);
    EXPECT_EQ(QtTextFlags(0), Qt::AlignLeft | Qt::AlignTop);
}

TEST_F(PngButtonTest, EmptyTooltipTextNeverMakesATooltip)
{
    button->SetTooltipText("", true);
    testing::Hover(*button);
    EXPECT_FALSE(button->HasTooltipWindow());
}

TEST_F(PngButtonTest, TooltipShowsAfterTheMouseRests)
{
    platform::SetTimeScale(0.01);
    // The pointer rests on the button, so showing the window does not make it leave.
    QCursor::setPos(button->mapToGlobal(button->rect().center()));
    window->show();
    testing::Pump();
    button->SetTooltipText("Apply the changes", true);
    EXPECT_TRUE(button->HasTooltipWindow());
    testing::Hover(*button);
    EXPECT_FALSE(QToolTip::isVisible());
    for (int i = 0; i < 200 && !QToolTip::isVisible(); ++i) {
        platform::SleepMs(100);
        testing::Pump();
    }
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "Apply the changes");
    QToolTip::hideText();
    platform::SetTimeScale(1.0);
}

} // namespace
} // namespace tavrix::controls
