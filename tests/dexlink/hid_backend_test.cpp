#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "hid/hid_backend.h"
#include "hid/udev_monitor.h"

namespace tavrix::dexlink {
namespace {

constexpr uint16_t kVendor = DEX_VENDOR_ID;
constexpr uint16_t kProduct = DEX_PRODUCT_ID;
constexpr std::chrono::seconds kPatience{10};

DeviceSelector Selector(uint16_t usagePage, uint16_t usage)
{
    return {DEX_MATCH_ALL, kVendor, kProduct, usagePage, usage, 0};
}

const DeviceSelector kCommand = Selector(DEX_COMMAND_USAGE_PAGE, DEX_COMMAND_USAGE);
const DeviceSelector kConsumer = Selector(DEX_CONSUMER_USAGE_PAGE, DEX_CONSUMER_USAGE);
const DeviceSelector kStatus = Selector(DEX_STATUS_USAGE_PAGE, DEX_STATUS_USAGE);

HidDeviceInfo Entry(const std::string& path, uint16_t usagePage, uint16_t usage, uint16_t product = kProduct)
{
    return {path, kVendor, product, usagePage, usage};
}

// One hidraw node of the fake system: what was written to it and what it will send.
struct FakeNode {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::vector<uint8_t>> inputs;
    std::vector<std::vector<uint8_t>> writes;
    std::vector<std::vector<uint8_t>> features;
    int failedThrough = 0; // devices opened up to this number fail
    int readFailures = 0;
    bool writeFails = false;
    int opens = 0;
    bool open = false;
};

// The fake system: the enumeration as hidapi would give it and the nodes behind it. Tests change
// it while the backend runs.
struct FakeSystem {
    std::mutex mutex;
    std::vector<HidDeviceInfo> entries;
    std::set<std::string> unopenable;
    std::map<std::string, std::shared_ptr<FakeNode>> nodes;

    std::shared_ptr<FakeNode> Node(const std::string& path)
    {
        std::lock_guard lock(mutex);
        auto& node = nodes[path];
        if (!node) {
            node = std::make_shared<FakeNode>();
        }
        return node;
    }
    void SetEntries(std::vector<HidDeviceInfo> list)
    {
        std::lock_guard lock(mutex);
        entries = std::move(list);
    }
};

class FakeDevice : public HidDevice {
public:
    explicit FakeDevice(std::shared_ptr<FakeNode> node) : m_node(std::move(node))
    {
        std::lock_guard lock(m_node->mutex);
        m_openNumber = ++m_node->opens;
        m_node->open = true;
    }
    ~FakeDevice() override
    {
        std::lock_guard lock(m_node->mutex);
        m_node->open = false;
    }

    int Read(std::span<uint8_t> out, int timeoutMs) override
    {
        std::unique_lock lock(m_node->mutex);
        m_node->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                 [&] { return Failed() || !m_node->inputs.empty(); });
        if (Failed()) {
            ++m_node->readFailures;
            m_node->changed.notify_all();
            return -1;
        }
        if (m_node->inputs.empty()) {
            return 0;
        }
        const std::vector<uint8_t> report = m_node->inputs.front();
        m_node->inputs.pop_front();
        const std::size_t length = std::min(report.size(), out.size());
        std::copy_n(report.begin(), length, out.begin());
        return static_cast<int>(length);
    }

    int Write(std::span<const uint8_t> report) override
    {
        std::lock_guard lock(m_node->mutex);
        if (m_node->writeFails) {
            return -1;
        }
        m_node->writes.emplace_back(report.begin(), report.end());
        return static_cast<int>(report.size());
    }

    int SendFeature(std::span<const uint8_t> report) override
    {
        std::lock_guard lock(m_node->mutex);
        m_node->features.emplace_back(report.begin(), report.end());
        return static_cast<int>(report.size());
    }

private:
    bool Failed() const { return m_openNumber <= m_node->failedThrough; }

    std::shared_ptr<FakeNode> m_node;
    int m_openNumber = 0;
};

class FakeTransport : public HidTransport {
public:
    explicit FakeTransport(std::shared_ptr<FakeSystem> system) : m_system(std::move(system)) {}

    // Lists everything, as a careless enumeration might: the backend must check the ids itself.
    std::vector<HidDeviceInfo> Enumerate(uint16_t, uint16_t) override
    {
        std::lock_guard lock(m_system->mutex);
        return m_system->entries;
    }

    std::unique_ptr<HidDevice> Open(const std::string& path) override
    {
        {
            std::lock_guard lock(m_system->mutex);
            if (m_system->unopenable.contains(path)) {
                return nullptr;
            }
        }
        return std::make_unique<FakeDevice>(m_system->Node(path));
    }

private:
    std::shared_ptr<FakeSystem> m_system;
};

// Stands for udev: the test says when a node arrived or went.
struct FakeMonitorControl {
    std::mutex mutex;
    std::function<void()> changed;
    bool available = true;

    void Announce()
    {
        std::function<void()> call;
        {
            std::lock_guard lock(mutex);
            call = changed;
        }
        ASSERT_TRUE(call);
        call();
    }
};

class FakeMonitor : public HotplugMonitor {
public:
    explicit FakeMonitor(std::shared_ptr<FakeMonitorControl> control) : m_control(std::move(control)) {}

    bool Start(std::function<void()> changed) override
    {
        std::lock_guard lock(m_control->mutex);
        if (!m_control->available) {
            return false;
        }
        m_control->changed = std::move(changed);
        return true;
    }
    void Stop() override
    {
        std::lock_guard lock(m_control->mutex);
        m_control->changed = nullptr;
    }

private:
    std::shared_ptr<FakeMonitorControl> m_control;
};

class RecordingSink : public EventSink {
public:
    void Deliver(Event event, std::chrono::microseconds) override
    {
        {
            std::lock_guard lock(m_mutex);
            m_events.push_back(std::move(event));
        }
        m_changed.notify_all();
    }

    std::vector<Event> Events()
    {
        std::lock_guard lock(m_mutex);
        return m_events;
    }
    std::size_t CountOf(Event::Kind kind)
    {
        std::lock_guard lock(m_mutex);
        return static_cast<std::size_t>(
            std::count_if(m_events.begin(), m_events.end(), [&](const Event& e) { return e.kind == kind; }));
    }
    bool WaitForData(std::size_t count)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, kPatience, [&] {
            return static_cast<std::size_t>(std::count_if(m_events.begin(), m_events.end(), [](const Event& e) {
                       return e.kind == Event::Kind::Data;
                   })) >= count;
        });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Event> m_events;
};

// The keyboard as hidapi 0.13 lists it: the command collection on one node, repeated and with
// a nested pair of its own; consumer and status output on a second node; the boot keyboard on
// a third; and a device of the same maker with another product id.
std::vector<HidDeviceInfo> OneKeyboard(const std::string& prefix = "/dev/hidraw")
{
    return {Entry(prefix + "1", DEX_COMMAND_USAGE_PAGE, DEX_COMMAND_USAGE),
            Entry(prefix + "1", DEX_COMMAND_USAGE_PAGE, DEX_COMMAND_USAGE),
            Entry(prefix + "1", DEX_COMMAND_USAGE_PAGE, 0x0001),
            Entry(prefix + "2", DEX_CONSUMER_USAGE_PAGE, DEX_CONSUMER_USAGE),
            Entry(prefix + "2", DEX_STATUS_USAGE_PAGE, DEX_STATUS_USAGE),
            Entry(prefix + "0", 0x0001, 0x0006),
            Entry(prefix + "9", DEX_COMMAND_USAGE_PAGE, DEX_COMMAND_USAGE, 0x7000)};
}

class HidBackendTest : public ::testing::Test {
protected:
    void Start(std::vector<HidDeviceInfo> entries)
    {
        m_system->SetEntries(std::move(entries));
        m_backend = std::make_unique<HidBackend>(m_sink, std::make_unique<FakeTransport>(m_system),
                                                 std::make_unique<FakeMonitor>(m_monitor));
    }
    void TearDown() override { m_backend.reset(); }

    HidBackend& Backend() { return *m_backend; }
    std::shared_ptr<FakeNode> Node(const std::string& path) { return m_system->Node(path); }
    // The devices opened on the node so far fail; a later open works.
    static void FailOpenDevices(FakeNode& node)
    {
        {
            std::lock_guard lock(node.mutex);
            node.failedThrough = node.opens;
        }
        node.changed.notify_all();
    }
    static bool WaitForReadFailure(FakeNode& node)
    {
        std::unique_lock lock(node.mutex);
        return node.changed.wait_for(lock, kPatience, [&] { return node.readFailures > 0; });
    }
    static int Opens(FakeNode& node)
    {
        std::lock_guard lock(node.mutex);
        return node.opens;
    }
    void SendInput(const std::string& path, std::vector<uint8_t> report)
    {
        const auto node = Node(path);
        {
            std::lock_guard lock(node->mutex);
            node->inputs.push_back(std::move(report));
        }
        node->changed.notify_all();
    }

    std::shared_ptr<FakeSystem> m_system = std::make_shared<FakeSystem>();
    std::shared_ptr<FakeMonitorControl> m_monitor = std::make_shared<FakeMonitorControl>();
    RecordingSink m_sink;

private:
    std::unique_ptr<HidBackend> m_backend;
};

TEST_F(HidBackendTest, OpensEachKeyboardNodeOnceAndNothingElse)
{
    Start(OneKeyboard());
    EXPECT_EQ(Node("/dev/hidraw1")->opens, 1);
    EXPECT_EQ(Node("/dev/hidraw2")->opens, 1);
    EXPECT_EQ(Node("/dev/hidraw0")->opens, 0);
    EXPECT_EQ(Node("/dev/hidraw9")->opens, 0);
}

struct CountCase {
    const char* name;
    DeviceSelector selector;
    int count;
};

class HidBackendCountTest : public HidBackendTest, public ::testing::WithParamInterface<CountCase> {};

TEST_P(HidBackendCountTest, CountsMatchingNodes)
{
    std::vector<HidDeviceInfo> entries = OneKeyboard("/dev/hidraw");
    const std::vector<HidDeviceInfo> second = OneKeyboard("/dev/hidraw1");
    entries.insert(entries.end(), second.begin(), second.end());
    Start(entries);
    EXPECT_EQ(Backend().DeviceCount(GetParam().selector), GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(Selectors, HidBackendCountTest,
                         ::testing::Values(CountCase{"Command", kCommand, 2}, CountCase{"Consumer", kConsumer, 2},
                                           CountCase{"Status", kStatus, 2},
                                           CountCase{"NestedPairNotOurs", Selector(DEX_COMMAND_USAGE_PAGE, 0x0001), 0},
                                           CountCase{"BootKeyboard", Selector(0x0001, 0x0006), 0},
                                           CountCase{"VendorOnly", {DEX_MATCH_VENDOR, kVendor, 0, 0, 0, 0}, 4}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HidBackendTest, StartsWithoutAKeyboard)
{
    Start({});
    EXPECT_EQ(Backend().DeviceCount(kCommand), 0);
    const std::array<uint8_t, 64> report{4};
    EXPECT_EQ(Backend().Write(kCommand, report), -1);
    EXPECT_EQ(Backend().SetFeature(kCommand, report), -1);
}

TEST_F(HidBackendTest, StartsWithoutAMonitor)
{
    m_monitor->available = false;
    Start(OneKeyboard());
    EXPECT_EQ(Backend().DeviceCount(kCommand), 1);
}

TEST_F(HidBackendTest, ReportsGoOutWholeToTheirCollectionsNode)
{
    Start(OneKeyboard());
    std::array<uint8_t, 64> frame{};
    frame[0] = 4;
    frame[3] = 0x0D;
    frame[63] = 0x77;
    const std::array<uint8_t, 2> status{0x05, 0x03};

    EXPECT_EQ(Backend().Write(kCommand, frame), 1);
    EXPECT_EQ(Backend().Write(kStatus, status), 1);
    EXPECT_EQ(Backend().SetFeature(kCommand, frame), 1);

    const auto command = Node("/dev/hidraw1");
    const auto other = Node("/dev/hidraw2");
    ASSERT_EQ(command->writes.size(), 1u);
    EXPECT_EQ(command->writes[0], std::vector<uint8_t>(frame.begin(), frame.end()));
    ASSERT_EQ(command->features.size(), 1u);
    EXPECT_EQ(command->features[0], std::vector<uint8_t>(frame.begin(), frame.end()));
    ASSERT_EQ(other->writes.size(), 1u);
    EXPECT_EQ(other->writes[0], std::vector<uint8_t>(status.begin(), status.end()));
}

TEST_F(HidBackendTest, FailedWriteIsRefused)
{
    Start(OneKeyboard());
    Node("/dev/hidraw1")->writeFails = true;
    const std::array<uint8_t, 64> frame{4};
    EXPECT_EQ(Backend().Write(kCommand, frame), -1);
}

TEST_F(HidBackendTest, InputReportsArriveAsEventsOfTheirCollection)
{
    Start(OneKeyboard());
    std::vector<uint8_t> reply(64, 0);
    reply[0] = 4;
    reply[3] = 0x0D;
    SendInput("/dev/hidraw1", reply);
    ASSERT_TRUE(m_sink.WaitForData(1));
    SendInput("/dev/hidraw2", {0x02, 0xFF, 0x02});
    ASSERT_TRUE(m_sink.WaitForData(2));

    const std::vector<Event> events = m_sink.Events();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_TRUE(SelectorMatches(kCommand, events[0].collection));
    EXPECT_EQ(events[0].bytes, reply);
    EXPECT_EQ(events[0].eventValueOffset, -1);
    EXPECT_TRUE(SelectorMatches(kConsumer, events[1].collection));
    EXPECT_EQ(events[1].bytes, (std::vector<uint8_t>{0x02, 0xFF, 0x02}));
    EXPECT_EQ(events[1].eventValueOffset, 1);
}

struct ReportCase {
    const char* name;
    std::vector<DeviceSelector> collections;
    uint8_t reportId;
    DeviceSelector expected;
};

class CollectionOfReportTest : public ::testing::TestWithParam<ReportCase> {};

TEST_P(CollectionOfReportTest, PicksTheCollection)
{
    std::vector<Collection> collections;
    for (const DeviceSelector& s : GetParam().collections) {
        collections.push_back({s.vendorId, s.productId, s.usagePage, s.usage});
    }
    const std::array<uint8_t, 3> report{GetParam().reportId, 0, 0};
    EXPECT_TRUE(SelectorMatches(GetParam().expected, CollectionOfReport(collections, report)));
}

INSTANTIATE_TEST_SUITE_P(Nodes, CollectionOfReportTest,
                         ::testing::Values(ReportCase{"CommandAlone", {kCommand}, 7, kCommand},
                                           ReportCase{"CommandByItsReportId", {kConsumer, kCommand}, 4, kCommand},
                                           ReportCase{"ConsumerBesideCommand", {kCommand, kConsumer}, 2, kConsumer},
                                           ReportCase{"ConsumerBesideStatus", {kStatus, kConsumer}, 5, kConsumer},
                                           ReportCase{"StatusAlone", {kStatus}, 5, kStatus}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HidBackendTest, ArrivalAndRemovalChangeTheCount)
{
    Start({});
    m_system->SetEntries(OneKeyboard());
    m_monitor->Announce();
    EXPECT_EQ(Backend().DeviceCount(kCommand), 1);
    EXPECT_EQ(m_sink.CountOf(Event::Kind::DeviceCount), 1u);

    m_monitor->Announce(); // another device came or went: nothing of ours changed
    EXPECT_EQ(m_sink.CountOf(Event::Kind::DeviceCount), 1u);

    m_system->SetEntries({});
    m_monitor->Announce();
    EXPECT_EQ(Backend().DeviceCount(kCommand), 0);
    EXPECT_EQ(m_sink.CountOf(Event::Kind::DeviceCount), 2u);
    EXPECT_FALSE(Node("/dev/hidraw1")->open);
    EXPECT_FALSE(Node("/dev/hidraw2")->open);
}

TEST_F(HidBackendTest, NodeThatCannotBeOpenedIsTriedAgainAtTheNextChange)
{
    m_system->unopenable.insert("/dev/hidraw1");
    Start(OneKeyboard());
    EXPECT_EQ(Backend().DeviceCount(kCommand), 0);
    EXPECT_EQ(Backend().DeviceCount(kConsumer), 1);

    {
        std::lock_guard lock(m_system->mutex);
        m_system->unopenable.clear();
    }
    m_monitor->Announce();
    EXPECT_EQ(Backend().DeviceCount(kCommand), 1);
    EXPECT_EQ(m_sink.CountOf(Event::Kind::DeviceCount), 1u);
}

TEST_F(HidBackendTest, FailedNodeIsOpenedAgainWhenItsPathReturns)
{
    Start(OneKeyboard());
    const auto node = Node("/dev/hidraw1");
    FailOpenDevices(*node);
    ASSERT_TRUE(WaitForReadFailure(*node));
    // Unplugged and plugged in again between two rescans: the path is listed as before.
    const auto until = std::chrono::steady_clock::now() + kPatience;
    while (Opens(*node) < 2 && std::chrono::steady_clock::now() < until) {
        Backend().Rescan();
        std::this_thread::yield();
    }
    EXPECT_EQ(Opens(*node), 2);
    EXPECT_EQ(Backend().DeviceCount(kCommand), 1);
    EXPECT_EQ(m_sink.CountOf(Event::Kind::DeviceCount), 1u);
}

TEST_F(HidBackendTest, FailingNodeEndsItsReaderQuietly)
{
    Start(OneKeyboard());
    FailOpenDevices(*Node("/dev/hidraw1"));
    SendInput("/dev/hidraw2", {0x02, 0x01, 0x04});
    ASSERT_TRUE(m_sink.WaitForData(1));
    EXPECT_TRUE(SelectorMatches(kConsumer, m_sink.Events().front().collection));
}

// The real monitor opens no device, only udev's event socket, which a container may lack: it
// either starts and then stops at once when asked, or says it cannot start.
TEST(UdevMonitorTest, StopsPromptlyOrDeclinesToStart)
{
    UdevMonitor monitor;
    const bool started = monitor.Start([] {});
    monitor.Stop();
    monitor.Stop();
    if (started) {
        EXPECT_TRUE(monitor.Start([] {}));
    }
}

} // namespace
} // namespace tavrix::dexlink
