#include <gtest/gtest.h>

#include "device/report_frame.h"

namespace tavrix::device {
namespace {

TEST(ReportFrameTest, FieldsAreLittleEndianAtTheirOffsets)
{
    ReportFrame frame = ReportFrame::ForCommand(0x08);
    frame.SetLength(44);
    frame.SetAddress(0x0318);
    const std::array<uint8_t, 3> data{0xAA, 0xBB, 0xCC};
    frame.SetData(data);
    frame.FillSum();

    const auto& bytes = frame.Bytes();
    EXPECT_EQ(bytes[0], kReportId);
    EXPECT_EQ(bytes[3], 0x08);
    EXPECT_EQ(bytes[4], 44);
    EXPECT_EQ(bytes[5], 0x18);
    EXPECT_EQ(bytes[6], 0x03);
    EXPECT_EQ(bytes[7], 0);
    EXPECT_EQ(bytes[8], 0xAA);
    EXPECT_EQ(bytes[10], 0xCC);
    const unsigned sum = 0x08 + 44 + 0x18 + 0x03 + 0xAA + 0xBB + 0xCC;
    EXPECT_EQ(frame.Sum(), sum);
    EXPECT_EQ(bytes[1], sum & 0xFF);
    EXPECT_EQ(bytes[2], sum >> 8);
}

TEST(ReportFrameTest, SumOfAFullFrameFitsSixteenBits)
{
    std::array<uint8_t, kReportSize> full{};
    full.fill(0xFF);
    ReportFrame frame = ReportFrame::FromBytes(full);
    frame.FillSum();
    EXPECT_EQ(frame.Sum(), 61 * 0xFF);
}

TEST(ReportFrameTest, DataBeyondFiftySixBytesIsNotCopied)
{
    std::array<uint8_t, 60> data{};
    data.fill(0x11);
    ReportFrame frame;
    frame.SetData(data);
    EXPECT_EQ(frame.Data().size(), kDataSize);
    EXPECT_EQ(frame.Bytes()[kReportSize - 1], 0x11);
}

} // namespace
} // namespace tavrix::device
