#include "model/profile_file_layout.h"

#include <algorithm>
#include <numeric>

#include "model/little_endian.h"

namespace tavrix::model {

namespace {

constexpr size_t kMagicOffset = 0;
constexpr size_t kHeaderSizeOffset = 2;
constexpr size_t kFormatMajorOffset = 4;
constexpr size_t kFormatMinorOffset = 6;
constexpr size_t kTotalSizeOffset = 8;
constexpr size_t kSlotCountOffset = 12;
constexpr size_t kMacroCountOffset = 14;
constexpr size_t kTextPoolSizeOffset = 16;
constexpr size_t kReserved1Offset = 20;
constexpr size_t kReserved2Offset = 24;
constexpr size_t kReserved3Offset = 28;
constexpr size_t kFlagOffset = 30;
static_assert(kFlagOffset + 1 == ProfileFileHeader::kSumOffset);
static_assert(ProfileFileHeader::kSumOffset + 1 == ProfileFileHeader::kSize);

constexpr size_t kDescriptionOffset = ProfileFileHeader::kSize;

} // namespace

void ProfileFileHeader::Encode(std::span<uint8_t, kSize> out) const
{
    Put16(out, kMagicOffset, magic);
    Put16(out, kHeaderSizeOffset, headerSize);
    Put16(out, kFormatMajorOffset, formatMajor);
    Put16(out, kFormatMinorOffset, formatMinor);
    Put32(out, kTotalSizeOffset, totalSize);
    Put16(out, kSlotCountOffset, slotCount);
    Put16(out, kMacroCountOffset, macroCount);
    Put32(out, kTextPoolSizeOffset, textPoolSize);
    Put32(out, kReserved1Offset, reserved1);
    Put32(out, kReserved2Offset, reserved2);
    Put16(out, kReserved3Offset, reserved3);
    out[kFlagOffset] = flag;
    out[kSumOffset] = Sum(out);
}

ProfileFileHeader ProfileFileHeader::Decode(std::span<const uint8_t, kSize> in)
{
    ProfileFileHeader header;
    header.magic = Get16(in, kMagicOffset);
    header.headerSize = Get16(in, kHeaderSizeOffset);
    header.formatMajor = Get16(in, kFormatMajorOffset);
    header.formatMinor = Get16(in, kFormatMinorOffset);
    header.totalSize = Get32(in, kTotalSizeOffset);
    header.slotCount = Get16(in, kSlotCountOffset);
    header.macroCount = Get16(in, kMacroCountOffset);
    header.textPoolSize = Get32(in, kTextPoolSizeOffset);
    header.reserved1 = Get32(in, kReserved1Offset);
    header.reserved2 = Get32(in, kReserved2Offset);
    header.reserved3 = Get16(in, kReserved3Offset);
    header.flag = in[kFlagOffset];
    return header;
}

uint8_t ProfileFileHeader::Sum(std::span<const uint8_t, kSize> bytes)
{
    return static_cast<uint8_t>(std::accumulate(bytes.begin(), bytes.begin() + kSumOffset, 0u) & 0xFF);
}

void ModelImage::Encode(std::span<uint8_t, kSize> out) const
{
    header.Encode(out.first<ProfileFileHeader::kSize>());
    std::copy(description.begin(), description.end(), out.begin() + kDescriptionOffset);
    size_t offset = kSlotsOffset;
    for (const ProfileBlock& block : blocks) {
        for (const KeyAssignment& slot : block) {
            slot.Encode(out.subspan(offset).first<KeyAssignment::kSize>());
            offset += KeyAssignment::kSize;
        }
    }
}

ModelImage ModelImage::Decode(std::span<const uint8_t, kSize> in)
{
    ModelImage image;
    image.header = ProfileFileHeader::Decode(in.first<ProfileFileHeader::kSize>());
    std::copy_n(in.begin() + kDescriptionOffset, kDeviceDescriptionSize, image.description.begin());
    size_t offset = kSlotsOffset;
    for (ProfileBlock& block : image.blocks) {
        for (KeyAssignment& slot : block) {
            slot = KeyAssignment::Decode(in.subspan(offset).first<KeyAssignment::kSize>());
            offset += KeyAssignment::kSize;
        }
    }
    return image;
}

ModelImage NewModelImage(uint8_t flag)
{
    ModelImage image;
    image.header.totalSize = static_cast<uint32_t>(ModelImage::kSize);
    image.header.flag = flag;
    ClearProfileBlock(image.blocks[0]);
    return image;
}

} // namespace tavrix::model
