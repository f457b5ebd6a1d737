#include <filesystem>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "hostile_files.h"
#include "platform/file_util.h"
#include "test_folders.h"

namespace tavrix::platform {
namespace {

namespace fs = std::filesystem;

class FileReaderTest : public ::testing::TestWithParam<HostileCase> {
protected:
    TempFolder m_folder;
    std::string m_path = m_folder / "file";
};

// None of these blocks, throws or reads more than the limit allows.
TEST_P(FileReaderTest, RefusesWhatIsNoReadableRegularFileOfTheRightSize)
{
    const HostileFile hostile(m_path, GetParam().kind, "content");
    const uint64_t readBefore = BytesReadSoFar();
    std::vector<uint8_t> bytes{1, 2, 3};
    const ReadResult result = ReadWholeFile(m_path, 1u << 20, bytes);
    EXPECT_LT(BytesReadSoFar() - readBefore, 1u << 20);
    EXPECT_EQ(result, GetParam().kind == Hostile::Huge ? ReadResult::TooLarge : ReadResult::CannotOpen);
    EXPECT_TRUE(bytes.empty());
}

INSTANTIATE_TEST_SUITE_P(Hostile, FileReaderTest, ::testing::ValuesIn(kHostileCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FileReaderLimitTest, SizeUpToTheLimitIsRead)
{
    TempFolder folder;
    const std::string path = folder / "four";
    ASSERT_TRUE(WriteFileAtomically(path, "1234"));
    std::string text;
    EXPECT_EQ(ReadWholeFile(path, 4, text), ReadResult::Ok);
    EXPECT_EQ(text, "1234");
    EXPECT_EQ(ReadWholeFile(path, 3, text), ReadResult::TooLarge);
    EXPECT_EQ(text, "");
    EXPECT_EQ(ReadWholeFile(folder / "none", 4, text), ReadResult::Missing);
    EXPECT_EQ(ReadWholeFile(path + "/below-a-file", 4, text), ReadResult::Missing);
    // The system gives no size for these: they are read to their end, up to the limit.
    EXPECT_EQ(ReadWholeFile("/proc/self/stat", 4096, text), ReadResult::Ok);
    EXPECT_NE(text.find(") "), std::string::npos);
    EXPECT_EQ(ReadWholeFile("/proc/self/stat", 8, text), ReadResult::TooLarge);
}

TEST(AtomicWriteTest, ReplacesTheTargetAndLeavesNoTemporary)
{
    TempFolder folder;
    const std::string target = folder / "$Profile0";
    ASSERT_TRUE(WriteFileAtomically(target, "new"));
    ASSERT_TRUE(WriteFileAtomically(target, "newer"));
    EXPECT_EQ(FileText(target), "newer");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
    EXPECT_FALSE(WriteFileAtomically(folder / "missing/file", "x"));
    EXPECT_FALSE(WriteFileAtomically(folder.Path() + "/", "x"));
}

TEST(AtomicWriteTest, KeepsTheModeOfTheFileItReplaces)
{
    TempFolder folder;
    const std::string target = folder / "export.fwc";
    ASSERT_TRUE(WriteFileAtomically(target, "old"));
    ::chmod(target.c_str(), 0640);
    ASSERT_TRUE(WriteFileAtomically(target, "new"));
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(PrivateFolderTest, OnlyAFolderOfThisUserClosedToOthers)
{
    TempFolder temp;
    const auto folderWithMode = [&temp](const char* name, mode_t mode) {
        const std::string path = temp / name;
        ::mkdir(path.c_str(), 0700);
        ::chmod(path.c_str(), mode);
        return path;
    };
    const std::string own = folderWithMode("own", 0700);
    const std::string link = temp / "link";
    fs::create_symlink(own, link);
    const std::string file = temp / "file";
    ASSERT_TRUE(WriteFileAtomically(file, "x"));
    const std::string foreign = folderWithMode("foreign", 0700);
    const bool canGiveAway = ::chown(foreign.c_str(), 65534, 65534) == 0;

    const struct {
        std::string path;
        bool accepted;
    } cases[] = {
        {own, true},
        {temp / "new/inner", true},
        {folderWithMode("open", 0777), false},
        {folderWithMode("readable", 0755), false},
        {folderWithMode("group", 0770), false},
        {link, false},
        {file, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EnsurePrivateFolder(c.path), c.accepted) << c.path;
    }
    struct stat made {};
    ASSERT_EQ(::stat((temp / "new/inner").c_str(), &made), 0);
    EXPECT_EQ(made.st_mode & 0777, 0700u);
    if (canGiveAway) {
        EXPECT_FALSE(EnsurePrivateFolder(foreign)) << "owned by another user";
    }
}

} // namespace
} // namespace tavrix::platform
