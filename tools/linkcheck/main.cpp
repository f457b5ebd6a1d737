// Prints the keyboard count and the result of one test transaction, through the same binding
// and transaction the program uses.
#include <cstdio>
#include <filesystem>

#include "device/device_link.h"

namespace {

class ConsoleHost : public tavrix::device::DeviceHost {
public:
    void OnBankChanged(int bank) override { std::printf("G-key bank %c\n", bank ? 'B' : 'A'); }
    void OnKeyboardLightingChanged() override { std::printf("lighting changed on the keyboard\n"); }
    void OnKeyboardBusy(bool busy) override { std::printf("keyboard %s\n", busy ? "busy" : "idle"); }
    void OnConnectionChanged(int deviceCount) override { std::printf("connection: %d keyboard(s)\n", deviceCount); }
};

constexpr uint8_t kTestCommand = 0x0D;

} // namespace

int main()
{
    using namespace tavrix::device;
    const std::string folder = std::filesystem::canonical("/proc/self/exe").parent_path().string();
    ConsoleHost host;
    DeviceLink link(BindDeviceServiceOrExit(folder), host);
    link.Start();

    std::printf("keyboards found: %d\n", link.IsDevicePresent());
    ReportFrame request = ReportFrame::ForCommand(kTestCommand);
    request.FillSum();
    std::array<uint8_t, kReportSize> reply{};
    uint32_t received = 0;
    const int result = link.SendCommand(request.Bytes(), reply, received);
    std::printf("test command: result %d, %u reply bytes, status 0x%02X\n", result, received, reply[kStatusOffset]);
    return result == kResultOk ? 0 : 1;
}
