#include "hid/hid_backend.h"

#include <algorithm>
#include <array>

namespace tavrix::dexlink {

namespace {

constexpr std::size_t kMaxInputReport = 64;
constexpr uint8_t kCommandReportId = 4;

bool IsKeyboardCollection(const Collection& collection)
{
    return std::ranges::find(kKeyboardCollections, collection) != kKeyboardCollections.end();
}

bool Has(const std::vector<Collection>& collections, const Collection& wanted)
{
    return std::ranges::find(collections, wanted) != collections.end();
}

bool AnyMatches(const std::vector<Collection>& collections, const DeviceSelector& selector)
{
    return std::any_of(collections.begin(), collections.end(),
                       [&](const Collection& collection) { return SelectorMatches(selector, collection); });
}

} // namespace

Collection CollectionOfReport(const std::vector<Collection>& collections, std::span<const uint8_t> report)
{
    const bool hasCommand = Has(collections, kCommandCollection);
    if (hasCommand && (collections.size() == 1 || (!report.empty() && report[0] == kCommandReportId))) {
        return kCommandCollection;
    }
    if (Has(collections, kConsumerCollection)) {
        return kConsumerCollection;
    }
    return collections.empty() ? Collection{} : collections.front();
}

HidBackend::HidBackend(EventSink& sink, std::unique_ptr<HidTransport> transport,
                       std::unique_ptr<HotplugMonitor> monitor)
    : m_sink(sink), m_transport(std::move(transport)), m_monitor(std::move(monitor))
{
    {
        std::lock_guard rescan(m_rescanMutex);
        OpenArrived(FindCollections());
    }
    // Without a monitor the keyboard found now is all the backend will know of.
    if (m_monitor && !m_monitor->Start([this] { Rescan(); })) {
        m_monitor.reset();
    }
}

HidBackend::~HidBackend()
{
    if (m_monitor) {
        m_monitor->Stop();
    }
    NodeMap nodes;
    {
        std::lock_guard lock(m_mutex);
        nodes.swap(m_nodes);
    }
    CloseAll(nodes);
}

std::map<std::string, std::vector<Collection>> HidBackend::FindCollections()
{
    std::map<std::string, std::vector<Collection>> found;
    for (const HidDeviceInfo& info : m_transport->Enumerate(DEX_VENDOR_ID, DEX_PRODUCT_ID)) {
        const Collection collection{info.vendorId, info.productId, info.usagePage, info.usage};
        if (info.path.empty() || !IsKeyboardCollection(collection)) {
            continue;
        }
        std::vector<Collection>& collections = found[info.path];
        if (!Has(collections, collection)) {
            collections.push_back(collection);
        }
    }
    return found;
}

bool HidBackend::OpenArrived(const std::map<std::string, std::vector<Collection>>& found)
{
    bool opened = false;
    for (const auto& [path, collections] : found) {
        {
            std::lock_guard lock(m_mutex);
            if (m_nodes.contains(path)) {
                continue;
            }
        }
        std::unique_ptr<HidDevice> device = m_transport->Open(path);
        if (!device) {
            continue; // tried again at the next arrival or removal
        }
        auto node = std::make_unique<Node>();
        node->collections = collections;
        node->device = std::move(device);
        Node& started = *node;
        {
            std::lock_guard lock(m_mutex);
            m_nodes.emplace(path, std::move(node));
        }
        started.reader = std::thread([this, &started] { ReadLoop(started); });
        opened = true;
    }
    return opened;
}

HidBackend::NodeMap HidBackend::TakeGone(const std::map<std::string, std::vector<Collection>>& found)
{
    NodeMap gone;
    std::lock_guard lock(m_mutex);
    for (auto it = m_nodes.begin(); it != m_nodes.end();) {
        // A node whose reader failed is stale even when its path is listed again: the path
        // may belong to a keyboard that was unplugged and plugged in between two rescans.
        if (found.contains(it->first) && !it->second->failed.load()) {
            ++it;
            continue;
        }
        gone.emplace(it->first, std::move(it->second));
        it = m_nodes.erase(it);
    }
    return gone;
}

void HidBackend::Rescan()
{
    bool changed = false;
    {
        std::lock_guard rescan(m_rescanMutex);
        const auto found = FindCollections();
        NodeMap gone = TakeGone(found);
        CloseAll(gone);
        changed = OpenArrived(found) || !gone.empty();
    }
    if (changed) {
        m_sink.Deliver(Event{Event::Kind::DeviceCount, kCommandCollection, {}}, std::chrono::microseconds(0));
    }
}

void HidBackend::ReadLoop(Node& node)
{
    std::array<uint8_t, kMaxInputReport> buffer{};
    while (!node.stop.load()) {
        const int length = node.device->Read(buffer, kReadTimeoutMs);
        if (length < 0) {
            node.failed = true; // gone or broken; the monitor tells of the removal
            return;
        }
        if (length == 0) {
            continue;
        }
        const std::span<const uint8_t> report(buffer.data(), std::min<std::size_t>(length, buffer.size()));
        Event event{Event::Kind::Data, CollectionOfReport(node.collections, report),
                    std::vector<uint8_t>(report.begin(), report.end())};
        if (event.collection == kConsumerCollection) {
            event.eventValueOffset = kConsumerValueOffset;
        }
        m_sink.Deliver(std::move(event), std::chrono::microseconds(0));
    }
}

void HidBackend::CloseAll(NodeMap& nodes)
{
    // Every reader is told first, so they wind down together rather than one timeout each.
    for (auto& [path, node] : nodes) {
        node->stop = true;
    }
    for (auto& [path, node] : nodes) {
        if (node->reader.joinable()) {
            node->reader.join();
        }
        node->device.reset();
    }
}

HidBackend::Node* HidBackend::FindNode(const DeviceSelector& selector)
{
    const auto found = std::find_if(m_nodes.begin(), m_nodes.end(),
                                    [&](const auto& entry) { return AnyMatches(entry.second->collections, selector); });
    return found == m_nodes.end() ? nullptr : found->second.get();
}

int HidBackend::DeviceCount(const DeviceSelector& selector)
{
    std::lock_guard lock(m_mutex);
    return static_cast<int>(std::count_if(m_nodes.begin(), m_nodes.end(), [&](const auto& entry) {
        return AnyMatches(entry.second->collections, selector);
    }));
}

int HidBackend::Write(const DeviceSelector& selector, std::span<const uint8_t> report)
{
    std::lock_guard lock(m_mutex);
    Node* node = FindNode(selector);
    return node && node->device->Write(report) > 0 ? 1 : -1;
}

int HidBackend::SetFeature(const DeviceSelector& selector, std::span<const uint8_t> report)
{
    std::lock_guard lock(m_mutex);
    Node* node = FindNode(selector);
    return node && node->device->SendFeature(report) > 0 ? 1 : -1;
}

} // namespace tavrix::dexlink
