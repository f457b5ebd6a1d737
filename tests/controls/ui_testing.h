#pragma once

#include <QImage>
#include <QRegion>
#include <QString>
#include <QWidget>
#include <vector>

#include <gtest/gtest.h>

#include "controls/window_message.h"

// Helpers for widget tests: an offscreen application, input by control id, grabbing to PNG.
namespace tavrix::testing {

// Creates the process's QApplication on first use (offscreen unless a platform was chosen).
void EnsureApplication();

// A test case that needs widgets; the application exists before the fixture's members.
class UiTest : public ::testing::Test {
protected:
    UiTest() { EnsureApplication(); }
};

// The control of window with id; fails the test when there is none.
QWidget& Control(const QWidget& window, int id);

void Click(QWidget& control, QPoint at = QPoint(-1, -1));
void DoubleClick(QWidget& control, QPoint at = QPoint(-1, -1));
void Press(QWidget& control, QPoint at);
void Release(QWidget& control, QPoint at);
void MoveMouse(QWidget& control, QPoint at, Qt::MouseButtons buttons = Qt::NoButton);
// The mouse enters control and rests on its middle.
void Hover(QWidget& control);
void Leave(QWidget& control);
void Key(QWidget& control, Qt::Key key);
// A wheel turn of delta (120 per notch away from the user) over control.
void Wheel(QWidget& control, int delta);
// Handles the events posted so far.
void Pump();

QImage Grab(QWidget& widget);
// Whether two regions cover the same pixels, however they are cut into rectangles.
bool SameArea(const QRegion& a, const QRegion& b);
// Writes what a person would see of widget to path; false when it could not be written.
bool GrabToPng(QWidget& widget, const QString& path);

// A window that records what it is told.
class RecordingWindow : public QWidget, public controls::MessageTarget {
public:
    struct Message {
        uint32_t message;
        controls::WParam wParam;
        controls::LParam lParam;
        bool operator==(const Message&) const = default;
    };

    bool OnCommand(int id) override;
    controls::LParam OnMessage(uint32_t message, controls::WParam wParam, controls::LParam lParam) override;

    std::vector<int> commands;
    std::vector<Message> messages;
};

} // namespace tavrix::testing
