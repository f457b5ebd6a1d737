#include "device/report_frame.h"

#include <algorithm>
#include <numeric>

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
    return static_cast<uint16_t>(m_bytes[kSumOffset] | (m_bytes[kSumOffset + 1] << 8));
}

std::span<const uint8_t, kDataSize> ReportFrame::Data() const
{
    return std::span<const uint8_t, kDataSize>(m_bytes.data() + kDataOffset, kDataSize);
}

void ReportFrame::SetAddress(uint16_t address)
{
    m_bytes[kAddressOffset] = static_cast<uint8_t>(address & 0xFF);
    m_bytes[kAddressOffset + 1] = static_cast<uint8_t>(address >> 8);
}

void ReportFrame::SetData(std::span<const uint8_t> data)
{
    std::copy_n(data.begin(), std::min(data.size(), kDataSize), m_bytes.begin() + kDataOffset);
}

void ReportFrame::FillSum()
{
    // 61 bytes of at most 255 each: the sum always fits in 16 bits.
    const unsigned sum = std::accumulate(m_bytes.begin() + kSumFirstByte, m_bytes.end(), 0u);
    m_bytes[kSumOffset] = static_cast<uint8_t>(sum & 0xFF);
    m_bytes[kSumOffset + 1] = static_cast<uint8_t>(sum >> 8);
}

} // namespace tavrix::device
