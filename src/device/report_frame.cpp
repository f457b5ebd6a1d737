#include "device/report_frame.h"

#include <algorithm>
#include <numeric>

#include "platform/little_endian.h"

namespace tavrix::device {

ReportFrame::ReportFrame()
{
    m_bytes[kReportIdOffset] = kReportId;
}

ReportFrame ReportFrame::FromBytes(std::span<const uint8_t> bytes)
{
    ReportFrame frame;
    frame.m_bytes.fill(0);
    std::copy_n(bytes.begin(), std::min(bytes.size(), kReportSize), frame.m_bytes.begin());
    return frame;
}

ReportFrame ReportFrame::ForCommand(uint8_t command)
{
    ReportFrame frame;
    frame.SetCommand(command);
    return frame;
}

uint16_t ReportFrame::Sum() const
{
    return platform::Get16(m_bytes, kSumOffset);
}

uint16_t ReportFrame::Address() const
{
    return platform::Get16(m_bytes, kAddressOffset);
}

std::span<const uint8_t, kDataSize> ReportFrame::Data() const
{
    return std::span<const uint8_t, kDataSize>(m_bytes.data() + kDataOffset, kDataSize);
}

void ReportFrame::SetAddress(uint16_t address)
{
    platform::Put16(m_bytes, kAddressOffset, address);
}

void ReportFrame::SetData(std::span<const uint8_t> data)
{
    std::copy_n(data.begin(), std::min(data.size(), kDataSize), m_bytes.begin() + kDataOffset);
}

void ReportFrame::FillSum()
{
    // 61 bytes of at most 255 each: the sum always fits in 16 bits.
    const unsigned sum = std::accumulate(m_bytes.begin() + kSumFirstByte, m_bytes.end(), 0u);
    platform::Put16(m_bytes, kSumOffset, static_cast<uint16_t>(sum));
}

} // namespace tavrix::device
