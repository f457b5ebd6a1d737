#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "backend.h"
#include "hid/hid_transport.h"

namespace tavrix::dexlink {

// Backend "hid": the keyboard's collections (vendor 0x0C45, product 0x768F; command, consumer
// and status usages) found through the transport. Each hidraw node is opened once, however many
// of its collections the enumeration lists, and gets a reader thread that hands every input
// report to the sink. The device count follows the hotplug monitor; without a monitor it is the
// one found at start.
class HidBackend : public Backend {
public:
    // How long a reader waits for a report before it checks whether it should stop.
    static constexpr int kReadTimeoutMs = 100;

    // Enumerates and opens what is attached (possibly nothing), then starts the monitor.
    HidBackend(EventSink& sink, std::unique_ptr<HidTransport> transport, std::unique_ptr<HotplugMonitor> monitor);
    ~HidBackend() override;

    int DeviceCount(const DeviceSelector& selector) override;
    int Write(const DeviceSelector& selector, std::span<const uint8_t> report) override;
    int SetFeature(const DeviceSelector& selector, std::span<const uint8_t> report) override;

    // Enumerates again: opens nodes that arrived, closes nodes that went, and tells the sink of
    // the device count when the set of nodes changed. Called by the monitor.
    void Rescan();

private:
    struct Node {
        std::vector<Collection> collections;
        std::unique_ptr<HidDevice> device;
        std::atomic<bool> stop{false};
        std::atomic<bool> failed{false}; // its reader saw the device fail
        std::thread reader;
    };
    using NodeMap = std::map<std::string, std::unique_ptr<Node>>;

    // The keyboard's collections in the enumeration, grouped by node path.
    std::map<std::string, std::vector<Collection>> FindCollections();
    // Opens and starts nodes not open yet; true when any was opened.
    bool OpenArrived(const std::map<std::string, std::vector<Collection>>& found);
    // Takes out the nodes no longer found and those whose reader failed.
    NodeMap TakeGone(const std::map<std::string, std::vector<Collection>>& found);
    void ReadLoop(Node& node);
    static void CloseAll(NodeMap& nodes);
    // The first node with a collection the selector matches; m_mutex held.
    Node* FindNode(const DeviceSelector& selector);

    EventSink& m_sink;
    std::unique_ptr<HidTransport> m_transport;
    std::unique_ptr<HotplugMonitor> m_monitor;
    std::mutex m_rescanMutex; // one rescan at a time
    std::mutex m_mutex;       // guards m_nodes
    NodeMap m_nodes;
};

// Which collection an input report of a node belongs to: the command collection for its report
// id 4 (or when it is the node's only one), else the consumer collection, else the first.
Collection CollectionOfReport(const std::vector<Collection>& collections, std::span<const uint8_t> report);

} // namespace tavrix::dexlink
