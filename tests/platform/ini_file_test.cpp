#include <gtest/gtest.h>

#include "hostile_files.h"
#include "platform/file_util.h"
#include "platform/ini_file.h"
#include "test_folders.h"

namespace tavrix::platform {
namespace {

std::string Utf16LeWithBom(const std::u16string& text)
{
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

class IniFileTest : public ::testing::Test {
protected:
    std::string Write(const std::string& bytes)
    {
        EXPECT_TRUE(WriteFileAtomically(m_path, bytes));
        return m_path;
    }
    std::string Read(const std::string& section, const std::string& key)
    {
        return ReadPrivateProfileString(section, key, "#Error", m_path);
    }

    TempFolder m_folder;
    std::string m_path = m_folder / "test.ini";
};

TEST_F(IniFileTest, LookupRules)
{
    Write("; comment\n"
          "[Text]\n"
          "  Caption  =   Hello world  \n"
          "Empty=\n"
          "Quoted=\"  keeps blanks \"\n"
          "Single='x'\n"
          "Equals==\n"
          "Dup=first\n"
          "Dup=second\n"
          "NoValueLine\n"
          "[ other ]\n"
          "Caption=other\n"
          "[TEXT]\n"
          "Late=not reached\n");
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        {"TEXT", "CAPTION", "Hello world"},
        {"text", "caption", "Hello world"},
        {"TEXT", "Empty", ""},
        {"TEXT", "Quoted", "  keeps blanks "},
        {"TEXT", "Single", "x"},
        {"TEXT", "Equals", "="},
        {"TEXT", "Dup", "first"},
        {"TEXT", "Missing", "#Error"},
        {"Other", "caption", "other"},
        {"Absent", "Caption", "#Error"},
        {"TEXT", "Late", "#Error"},
        {"TEXT", "NoValueLine", "#Error"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Read(c.section, c.key), c.expected) << c.section << "/" << c.key;
    }
}

TEST_F(IniFileTest, MissingFileGivesDefault)
{
    EXPECT_EQ(ReadPrivateProfileString("A", "B", "fallback", m_folder / "none.ini"), "fallback");
}

TEST_F(IniFileTest, LongValueIsCutTo259Characters)
{
    const std::string ascii(300, 'x');
    std::string chinese;
    for (int i = 0; i < 300; ++i) {
        chinese += "键";
    }
    Write("[S]\nA=" + ascii + "\nC=" + chinese + "\n");
    EXPECT_EQ(Read("S", "A"), std::string(259, 'x'));
    const std::string cut = Read("S", "C");
    EXPECT_EQ(cut.size(), 259u * 3u);
    EXPECT_EQ(cut.substr(0, 3), "键");
}

TEST_F(IniFileTest, EncodingsAndLineEnds)
{
    const std::string chinese = "简体中文 繁體中文";
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {
        {"utf8", "[S]\nK=" + chinese + "\n"},
        {"utf8 bom crlf", "\xEF\xBB\xBF[S]\r\nK=" + chinese + "\r\n"},
        {"utf16le bom", Utf16LeWithBom(u"[S]\r\nK=简体中文 繁體中文\r\n")},
        {"no final newline", "[S]\nK=" + chinese},
    };
    for (const auto& file : files) {
        Write(file.bytes);
        EXPECT_EQ(Read("S", "K"), chinese) << file.name;
    }
}

TEST_F(IniFileTest, WriteReplacesAddsAndKeepsTheRest)
{
    Write("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    ASSERT_TRUE(WritePrivateProfileString("a", "X", "one", m_path));
    ASSERT_TRUE(WritePrivateProfileString("A", "z", "3", m_path));
    ASSERT_TRUE(WritePrivateProfileString("C", "w", "4", m_path));
    EXPECT_EQ(FileText(m_path), "[A]\r\nx=one\r\nz=3\r\n\r\n[B]\r\ny=2\r\n[C]\r\nw=4\r\n");
}

TEST_F(IniFileTest, WriteKeepsUtf16Encoding)
{
    Write(Utf16LeWithBom(u"[KEYCOLOR]\r\nDengCheck=0\r\n"));
    ASSERT_TRUE(WritePrivateProfileString("KEYCOLOR", "DengCheck", "1", m_path));
    EXPECT_EQ(FileText(m_path), Utf16LeWithBom(u"[KEYCOLOR]\r\nDengCheck=1\r\n"));
}

TEST_F(IniFileTest, WriteCreatesFileButRefusesWhatItCannotStore)
{
    ASSERT_TRUE(WritePrivateProfileString("KEYCOLOR", "DengCheck", "1", m_path));
    EXPECT_EQ(Read("KEYCOLOR", "DengCheck"), "1");
    EXPECT_FALSE(WritePrivateProfileString("KEYCOLOR", "DengCheck", "a\nb", m_path));
    EXPECT_FALSE(WritePrivateProfileString("KEY]", "x", "1", m_path));
    EXPECT_FALSE(WritePrivateProfileString("S", "a=b", "1", m_path));
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "1", m_folder / "missing/x.ini"));
    EXPECT_EQ(Read("KEYCOLOR", "DengCheck"), "1");
}

TEST_F(IniFileTest, FileChangedOnDiskIsSeenAtTheNextRead)
{
    Write("[S]\nK=one\n");
    EXPECT_EQ(Read("S", "K"), "one");
    // Rewritten in place at once, same size: only the time of the change tells the versions apart.
    std::ofstream(m_path, std::ios::binary | std::ios::trunc) << "[S]\nK=two\n";
    EXPECT_EQ(Read("S", "K"), "two");
    ::chmod(m_path.c_str(), 0);
    {
        NoFileOverride asAnyUser;
        EXPECT_EQ(Read("S", "K"), "#Error");
    }
    ::chmod(m_path.c_str(), 0600);
    EXPECT_EQ(Read("S", "K"), "two");
}

TEST_F(IniFileTest, LargeFileIsReadOncePerChange)
{
    Write("[S]\nLong=" + std::string(4u << 20, 'x') + "\nK=v\n");
    EXPECT_EQ(Read("S", "K"), "v");
    const uint64_t readBefore = BytesReadSoFar();
    for (int i = 0; i < 50; ++i) {
        ASSERT_EQ(Read("S", "K"), "v");
    }
    EXPECT_LT(BytesReadSoFar() - readBefore, 2u * (4u << 20)) << "at most one more read of the new file";
    EXPECT_EQ(Read("S", "Long"), std::string(kProfileStringMaxChars, 'x'));
}

class HostileIniTest : public IniFileTest, public ::testing::WithParamInterface<HostileCase> {};

// The settings file (wskb.ini) as the lighting toggle reads and writes it: whatever is at the
// path reads as the default and is never replaced.
TEST_P(HostileIniTest, ReadsTheDefaultAndIsLeftAsItIs)
{
    const HostileFile hostile(m_path, GetParam().kind, "[OTHER]\nkeep=1\n[KEYCOLOR]\nDengCheck=1\n");
    const std::string before = Fingerprint(m_path);
    EXPECT_EQ(ReadPrivateProfileString("KEYCOLOR", "DengCheck", "0", m_path), "0");
    EXPECT_FALSE(WritePrivateProfileString("KEYCOLOR", "DengCheck", "0", m_path));
    EXPECT_EQ(Fingerprint(m_path), before);
}

INSTANTIATE_TEST_SUITE_P(Hostile, HostileIniTest, ::testing::ValuesIn(kHostileCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tavrix::platform
