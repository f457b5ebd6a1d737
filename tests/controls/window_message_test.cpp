#include <QLabel>
#include <QThread>
#include <memory>
#include <thread>

#include <gtest/gtest.h>

#include "controls/control_id.h"
#include "controls/window_message.h"
#include "ui_testing.h"

namespace tavrix::controls {
namespace {

using testing::Pump;
using testing::RecordingWindow;
using Message = RecordingWindow::Message;

class WindowMessageTest : public testing::UiTest {};

TEST_F(WindowMessageTest, PostedMessagesArriveInOrderOnlyWhenTheQueueRuns)
{
    RecordingWindow window;
    PostMessage(&window, 0x5350, 1, 2);
    PostMessage(&window, 0x4D4B, 3, -4);
    EXPECT_TRUE(window.messages.empty());
    Pump();
    EXPECT_EQ(window.messages, (std::vector<Message>{{0x5350, 1, 2}, {0x4D4B, 3, -4}}));
}

TEST_F(WindowMessageTest, PostFromAnotherThreadIsHandledOnTheWindowsThread)
{
    Qt::HANDLE handledOn = nullptr;
    struct Probe : RecordingWindow {
        Qt::HANDLE* seen = nullptr;
        LParam OnMessage(uint32_t message, WParam wParam, LParam lParam) override
        {
            *seen = QThread::currentThreadId();
            return RecordingWindow::OnMessage(message, wParam, lParam);
        }
    } probe;
    probe.seen = &handledOn;
    std::thread poster([&] { PostMessage(&probe, 0x5452, 7, 8); });
    poster.join();
    Pump();
    ASSERT_EQ(probe.messages.size(), 1u);
    EXPECT_EQ(handledOn, QThread::currentThreadId());
}

TEST_F(WindowMessageTest, SendFromAnotherThreadWaitsForTheResult)
{
    RecordingWindow window;
    LParam result = 0;
    std::atomic<bool> returned{false};
    std::thread sender([&] {
        result = SendMessage(&window, 0x5045, 1, 42);
        returned = true;
    });
    // The sender cannot return before this thread handles the message.
    while (window.messages.empty()) {
        EXPECT_FALSE(returned.load());
        Pump();
    }
    sender.join();
    EXPECT_EQ(result, 42);
    EXPECT_EQ(window.messages, (std::vector<Message>{{0x5045, 1, 42}}));
}

TEST_F(WindowMessageTest, SendOnTheSameThreadIsHandledAtOnce)
{
    RecordingWindow window;
    EXPECT_EQ(SendMessage(&window, 0x5041, 0, 9), 9);
    EXPECT_EQ(window.messages.size(), 1u);
}

TEST_F(WindowMessageTest, CommandMessageArrivesAsOnCommandWithTheLowWordId)
{
    RecordingWindow window;
    PostMessage(&window, WM_COMMAND, 0x10000 | 32780, 0);
    Pump();
    EXPECT_EQ(window.commands, std::vector<int>{32780});
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(WindowMessageTest, MessagesToAGoneOrForeignWindowAreDropped)
{
    auto window = std::make_unique<RecordingWindow>();
    PostMessage(window.get(), 0x5350, 0, 0);
    window.reset();
    QWidget plain;
    PostMessage(&plain, 0x5350, 0, 0);
    PostMessage(nullptr, 0x5350, 0, 0);
    Pump();
    EXPECT_EQ(SendMessage(&plain, 0x5350, 0, 5), 0);
}

TEST_F(WindowMessageTest, ControlsAreFoundByIdAtAnyDepth)
{
    RecordingWindow window;
    auto* panel = new QWidget(&window);
    auto* label = new QLabel(panel);
    SetDlgCtrlID(*label, 1178);
    EXPECT_EQ(FindDlgItem(window, 1178), label);
    EXPECT_EQ(GetDlgCtrlID(*label), 1178);
    EXPECT_EQ(FindDlgItem(window, 1179), nullptr);
    EXPECT_EQ(GetDlgCtrlID(*panel), 0);
}

} // namespace
} // namespace tavrix::controls
