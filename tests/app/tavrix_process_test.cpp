#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/single_instance.h"
#include "bin_folder.h"
#include "hostile_files.h"
#include "platform/clock.h"
#include "platform/file_util.h"
#include "test_folders.h"
#include "ui_testing.h"
#include "xvfb_run.h"

// The real program, started as child processes in a private logon: its own runtime, config,
// data and home folders, and the simulated keyboard. Without its language files beside it the
// copy shows "#Error" captions, which these tests do not look at.
namespace tavrix::app {
namespace {

constexpr int kProcessTimeoutMs = 20000;

class TavrixProcessTest : public testing::UiTest {
protected:
    void SetUp() override
    {
        const QString built = QString::fromStdString(BinFolder()) + "/tavrix";
        ASSERT_TRUE(QFileInfo(built).isExecutable()) << built.toStdString();
        // A copy under a name of its own, so instances started by tests running in parallel
        // never see each other, in a folder of its own beside the library and data it loads.
        const std::string folder = m_home / "bin";
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
        for (const char* data : {"libdexlink.so", "Skins", "Icons", "Help"}) {
            ASSERT_TRUE(QFile::link(QString::fromStdString(BinFolder() + "/" + data),
                                    QString::fromStdString(folder + "/" + data)))
                << data;
        }
        m_name = "tavrix-" + std::to_string(::getpid());
        m_program = QString::fromStdString(folder + "/" + m_name);
        ASSERT_TRUE(QFile::copy(built, m_program));
    }

    void TearDown() override
    {
        for (const auto& process : m_processes) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(kProcessTimeoutMs);
            }
        }
    }

    QProcess& Start(const QStringList& arguments,
                    QProcess::ProcessChannelMode channels = QProcess::ForwardedErrorChannel)
    {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        process->setProcessChannelMode(channels);
        process->start(m_program, arguments);
        EXPECT_TRUE(process->waitForStarted(kProcessTimeoutMs));
        m_processes.push_back(std::move(process));
        return *m_processes.back();
    }

    // Runs to the end; the exit code, or -1 when it crashed or did not end in time.
    int Run(const QStringList& arguments)
    {
        QProcess& process = Start(arguments);
        if (!process.waitForFinished(kProcessTimeoutMs) || process.exitStatus() != QProcess::NormalExit) {
            return -1;
        }
        return process.exitCode();
    }

    // Waits until the instance's window answers (which also brings it to the front).
    bool WaitUntilAnswering(QProcess& process)
    {
        const pid_t pid = static_cast<pid_t>(process.processId());
        for (int attempt = 0; attempt < 1000 && process.state() == QProcess::Running; ++attempt) {
            if (NotifyInstanceWindows(pid, InstanceRequest::Open)) {
                return true;
            }
            platform::SleepMs(20);
        }
        return false;
    }

    // Waits until a process holds the instance lock.
    bool WaitUntilLocked()
    {
        for (int attempt = 0; attempt < 1000; ++attempt) {
            InstanceLock probe;
            if (probe.TryAcquire() == InstanceLock::Result::HeldElsewhere) {
                return true;
            }
            probe.Release();
            platform::SleepMs(20);
        }
        return false;
    }

    static int Finished(QProcess& process)
    {
        if (!process.waitForFinished(kProcessTimeoutMs) || process.exitStatus() != QProcess::NormalExit) {
            return -1;
        }
        return process.exitCode();
    }

    bool Exists(const std::string& path) const
    {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0;
    }

    TempFolder m_home;
    ScopedEnv m_runtime{"XDG_RUNTIME_DIR", m_home / "run"};
    ScopedEnv m_config{"XDG_CONFIG_HOME", m_home / "config"};
    ScopedEnv m_data{"XDG_DATA_HOME", m_home / "data"};
    ScopedEnv m_homeEnv{"HOME", m_home.Path()};
    ScopedEnv m_backend{"DEXLINK_BACKEND", std::string("sim")};
    ScopedEnv m_simState{"DEXLINK_SIM_STATE", m_home / "sim-keyboard.bin"};
    std::string m_name;
    QString m_program;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

TEST_F(TavrixProcessTest, KillWithoutRunningInstanceEndsAtOnce)
{
    for (const char* kill : {"/Kill", "/kILL", "--kill"}) {
        EXPECT_EQ(Run({kill}), 0) << kill;
        EXPECT_EQ(Run({"/Start", kill}), 0) << kill;
    }
    EXPECT_FALSE(Exists(InstanceSocketPath())) << "nothing ever listened";
}

TEST_F(TavrixProcessTest, SecondStartRaisesTheFirstAndKillEndsIt)
{
    QProcess& first = Start({"/Start"});
    ASSERT_TRUE(WaitUntilAnswering(first));
    EXPECT_EQ(Run({}), 0);
    EXPECT_EQ(Run({"/START"}), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_TRUE(WaitUntilAnswering(first)) << "still the one instance";

    EXPECT_EQ(Run({"/kill"}), 0);
    EXPECT_EQ(Finished(first), 0);
    EXPECT_FALSE(Exists(InstanceSocketPath())) << "the exit routine closes the instance socket";

    QProcess& next = Start({});
    EXPECT_TRUE(WaitUntilAnswering(next)) << "the lock went with the first instance";
    EXPECT_EQ(Run({"--kill"}), 0);
    EXPECT_EQ(Finished(next), 0);
}

TEST_F(TavrixProcessTest, LeftoversOfACrashedInstanceDoNotStopTheNextStart)
{
    QProcess& crashed = Start({});
    ASSERT_TRUE(WaitUntilAnswering(crashed));
    crashed.kill();
    ASSERT_TRUE(crashed.waitForFinished(kProcessTimeoutMs));
    ASSERT_TRUE(Exists(InstanceSocketPath()));
    ASSERT_TRUE(Exists(InstanceLockPath()));

    QProcess& next = Start({});
    EXPECT_TRUE(WaitUntilAnswering(next));
    EXPECT_EQ(Run({"/Kill"}), 0);
    EXPECT_EQ(Finished(next), 0);
}

TEST_F(TavrixProcessTest, LockHeldByAnotherProgramIsNoInstance)
{
    InstanceLock foreign;
    ASSERT_EQ(foreign.TryAcquire(), InstanceLock::Result::Owned);

    QProcess& first = Start({});
    EXPECT_TRUE(WaitUntilAnswering(first)) << "no process named tavrix holds the lock";
    EXPECT_EQ(Run({}), 0) << "a later start still finds the running instance";
    foreign.Release();
    EXPECT_EQ(Run({}), 0) << "the running instance keeps the lock after the other program let go";
    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_EQ(Run({"/Kill"}), 0);
    EXPECT_EQ(Finished(first), 0);
}

// Whatever sits where the lock or the socket should be, one instance runs, a second start does
// not make a second one, "/Kill" ends the one, and what was there stays.
TEST_F(TavrixProcessTest, BlockedLockOrSocketStillGivesOneInstanceThatKillEnds)
{
    const struct {
        const char* name;
        std::string (*path)();
        bool answers;
    } cases[] = {
        {"folder at the lock", InstanceLockPath, true},
        {"folder at the socket", InstanceSocketPath, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(m_home / "run");
        ASSERT_TRUE(platform::EnsurePrivateFolder(m_home / "run"));
        ASSERT_EQ(::mkdir(c.path().c_str(), 0700), 0);

        QProcess& first = Start({});
        if (c.answers) {
            ASSERT_TRUE(WaitUntilAnswering(first));
        } else {
            ASSERT_TRUE(WaitUntilLocked());
        }
        EXPECT_EQ(Run({}), 0);
        EXPECT_EQ(first.state(), QProcess::Running);
        EXPECT_EQ(FindProcessesByExeName(m_name).size(), 1u) << "the second start did not stay";
        EXPECT_EQ(Run({"/Kill"}), 0);
        EXPECT_TRUE(first.waitForFinished(kProcessTimeoutMs));
        EXPECT_TRUE(std::filesystem::is_directory(c.path()));
    }
}

// Settings and keyboard files that are no files hold nothing up: the program starts, says once
// which file it cannot read, ends on "/Kill", and leaves every one of them as it was.
TEST_F(TavrixProcessTest, HostileSettingsNeitherHoldUpTheStartNorGetReplaced)
{
    const std::string registry = m_home / "config/PL3094V/registry.ini";
    const std::string settings = m_home / "data/PL3094V/wskb.ini";
    const std::string state = m_home / "sim-keyboard.bin";
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(m_home / "config/PL3094V")));
    ASSERT_EQ(::mkfifo(registry.c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(state.c_str(), 0600), 0);
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(settings)));
    const std::string before = Fingerprint(registry) + Fingerprint(settings) + Fingerprint(state);

    QProcess& first = Start({"/Start"}, QProcess::SeparateChannels);
    ASSERT_TRUE(WaitUntilAnswering(first));
    EXPECT_EQ(Run({"/Kill"}), 0);
    EXPECT_EQ(Finished(first), 0);
    EXPECT_EQ(Fingerprint(registry) + Fingerprint(settings) + Fingerprint(state), before);
    const QString errors = QString::fromUtf8(first.readAllStandardError());
    EXPECT_EQ(errors.count(QString::fromStdString(registry + " cannot be read")), 1) << errors.toStdString();
}

// "/Update" asks the running instance for its update dialog, or starts the program with it. The
// dialog is seen from outside, as a window of the instance's process, on a real X server.
TEST_F(TavrixProcessTest, UpdateOpensTheUpdateDialogOfTheRunningInstanceOrOfANewOne)
{
    testing::RunUnderXvfb(QStringLiteral("TavrixProcessUnderXvfb.*"), {QStringLiteral("xdotool")});
}

class TavrixProcessUnderXvfb : public TavrixProcessTest {
protected:
    void SetUp() override
    {
        if (!testing::IsUnderXvfb()) {
            GTEST_SKIP() << "runs only under the X server the process test starts";
        }
        TavrixProcessTest::SetUp();
    }

    // The sizes of the process's windows the screen shows.
    static std::vector<QSize> ShownWindows(const QProcess& process)
    {
        QProcess search;
        search.start(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                 QStringLiteral("--pid"), QString::number(process.processId())});
        search.waitForFinished(kProcessTimeoutMs);
        std::vector<QSize> sizes;
        for (const QString& window :
             QString::fromLatin1(search.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
            QProcess geometry;
            geometry.start(QStringLiteral("xdotool"),
                           {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
            geometry.waitForFinished(kProcessTimeoutMs);
            QSize size;
            for (const QString& line : QString::fromLatin1(geometry.readAllStandardOutput()).split('\n')) {
                if (line.startsWith(QStringLiteral("WIDTH="))) {
                    size.setWidth(line.mid(6).toInt());
                } else if (line.startsWith(QStringLiteral("HEIGHT="))) {
                    size.setHeight(line.mid(7).toInt());
                }
            }
            sizes.push_back(size);
        }
        return sizes;
    }

    // Waits until the process shows exactly the update dialog, whose size is its picture's.
    static bool ShowsTheUpdateDialogAlone(const QProcess& process)
    {
        const QSize dialog = QImage(QString::fromStdString(BinFolder() + "/Skins/update_bg.png")).size();
        for (int attempt = 0; attempt < 500; ++attempt) {
            if (ShownWindows(process) == std::vector<QSize>{dialog}) {
                return true;
            }
            platform::SleepMs(20);
        }
        return false;
    }

    // Waits until the instance listens on its socket, without asking it anything.
    static bool WaitUntilListening()
    {
        for (int attempt = 0; attempt < 1000; ++attempt) {
            if (const int fd = ConnectInstanceSocket(); fd >= 0) {
                ::close(fd);
                return true;
            }
            platform::SleepMs(20);
        }
        return false;
    }
};

TEST_F(TavrixProcessUnderXvfb, UpdateReachesTheRunningInstanceOrStartsOne)
{
    QProcess& first = Start({"/Start"});
    ASSERT_TRUE(WaitUntilListening());
    EXPECT_TRUE(ShownWindows(first).empty()) << "started hidden in the tray";
    EXPECT_EQ(Run({"/Update"}), 0);
    EXPECT_TRUE(ShowsTheUpdateDialogAlone(first));
    EXPECT_EQ(Run({"--UPDATE"}), 0);
    platform::SleepMs(200);
    EXPECT_TRUE(ShowsTheUpdateDialogAlone(first)) << "the open dialog stays the only one";
    EXPECT_EQ(FindProcessesByExeName(m_name).size(), 1u);
    EXPECT_EQ(Run({"/Kill"}), 0);
    EXPECT_EQ(Finished(first), 0) << "the exit closes the dialog too";

    QProcess& next = Start({"/start", "/update"});
    EXPECT_TRUE(ShowsTheUpdateDialogAlone(next)) << "no instance ran: this one shows the dialog";
    EXPECT_TRUE(WaitUntilListening()) << "and is the instance";
    EXPECT_EQ(Run({"/Kill"}), 0);
    EXPECT_EQ(Finished(next), 0);
}

} // namespace
} // namespace tavrix::app
