#include "platform/ini.h"

#include <gtest/gtest.h>

#include <random>

#include "fakes/temp_dir.h"

namespace {

// Every case runs through the program's own reader and, on Windows, through the
// profile API itself: the two must agree.
struct Reader {
  const char* name;
  platform::ProfileStringReader read;
};

void PrintTo(const Reader& reader, std::ostream* os) {
  *os << reader.name;
}

class IniTest : public ::testing::TestWithParam<Reader> {
 protected:
  std::string Read(const std::string& path, const char* section, const char* key) {
    return platform::ReadIniString(path, section, key, GetParam().read);
  }
  uint32_t Get(const char* section, const char* key, const char* dflt, char* buffer, uint32_t size,
               const std::string& path) {
    return GetParam().read(section, key, dflt, buffer, size, path.c_str());
  }

  std::string Write(const std::string& bytes) {
    std::string path = dir_ + "/test.ini";
    WriteFile(path, bytes);
    return path;
  }

  TempDir tmp_{"vk-ini"};
  std::string dir_ = tmp_.Path();
};

TEST_P(IniTest, ValuesFollowTheProfileRules) {
  const std::string ini =
      "; a comment line\r\n"
      "[Other]\r\n"
      "LogFile=other.log\r\n"
      "  [ start ]  \r\n"
      "   ; LogFile=commented.log\r\n"
      "  logfile   =   \"  quoted with blanks \"   \r\n"
      "LogFile=second.log\r\n"
      "ConfigFile='single'\r\n"
      "Mixed=\"half'\n"
      "Lone=\"\n"
      "Empty=\n"
      "Quotes=\"\"\n"
      "Inner=a \"b\" c\n"
      "Equals=a=b\n"
      "Tabbed\t=\tx\t\n"
      "NoEquals\n"
      "Umlaut=\xC3\xA4\r"
      "Cr=only\r"
      "[Start]\n"
      "Late=from the second Start section\n";
  const std::string path = Write(ini);
  struct Case {
    const char *section, *key, *value;
  } cases[] = {
      {"Start", "LogFile", "  quoted with blanks "},
      {"START", "LOGFILE", "  quoted with blanks "},
      {"Start", "ConfigFile", "single"},
      {"Start", "Mixed", "\"half'"},
      {"Start", "Lone", "\""},
      {"Start", "Empty", ""},
      {"Start", "Quotes", ""},
      {"Start", "Inner", "a \"b\" c"},
      {"Start", "Equals", "a=b"},
      {"Start", "tabbed", "x"},
      {"Start", "NoEquals", ""},
      {"Start", "Umlaut", "\xC3\xA4"},
      {"Start", "Cr", "only"},
      {"Start", "Late", ""},
      {"Start", "Missing", ""},
      {"Other", "LogFile", "other.log"},
      {"Missing", "LogFile", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.section) + "/" + c.key);
    EXPECT_EQ(Read(path, c.section, c.key), c.value);
  }
}

// Forms the program's files rarely hold, where a reader of its own could easily part
// from the profile API.
TEST_P(IniTest, UnusualLinesReadAsTheProfileApiReadsThem) {
  const std::string path = Write(
      "[Start] trailing words\n"
      "Log File = spaced key\n"
      "Inline = value ; not a comment\n"
      "=no key\n"
      "  Indented=\tx y\t\n"
      "Quoted=\"a\" b\"\n"
      "Single='a'\n"
      "Upper=\xC4\xD6\xDC\n"
      "[start]\n"
      "Second=from a second Start\n"
      "[ Other ]\n"
      "Key=other\n");
  struct Case {
    const char *section, *key, *value;
  } cases[] = {
      {"Start", "Log File", "spaced key"},
      {"Start", "Inline", "value ; not a comment"},
      {"Start", "Indented", "x y"},
      {"Start", "Quoted", "a\" b"},
      {"Start", "Single", "a"},
      {"Start", "Upper", "\xC4\xD6\xDC"},
      {"start", "upper", "\xC4\xD6\xDC"},
      {"Start", "Second", ""},
      {"Other", "Key", "other"},
      {" Start ", "Inline", "value ; not a comment"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.section) + "/" + c.key);
    EXPECT_EQ(Read(path, c.section, c.key), c.value);
  }
}

TEST_P(IniTest, LongValuesAreCutToTheBuffer) {
  const std::string path = Write("[Start]\nLogFile=" + std::string(3000, 'x') + "\n");
  EXPECT_EQ(Read(path, "Start", "LogFile"), std::string(2047, 'x'));

  char buffer[8];
  EXPECT_EQ(Get("Start", "LogFile", "", buffer, 8, path), 7u);
  EXPECT_STREQ(buffer, "xxxxxxx");
  EXPECT_EQ(Get("Start", "None", "default value", buffer, 8, path), 7u);
  EXPECT_STREQ(buffer, "default");
  EXPECT_EQ(Get("Start", "LogFile", "", buffer, 1, path), 0u);
  EXPECT_STREQ(buffer, "");
}

TEST_P(IniTest, MissingOrUnreadableFilesGiveTheDefault) {
  char buffer[64];
  for (const std::string& name : {dir_ + "/none.ini", dir_, std::string()}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Get("Start", "LogFile", "dflt", buffer, sizeof buffer, name), 4u);
    EXPECT_STREQ(buffer, "dflt");
    EXPECT_EQ(Read(name, "Start", "LogFile"), "");
  }
}

TEST_P(IniTest, BinaryGarbageReadsAsEmpty) {
  std::mt19937 random(7);
  std::string garbage(100000, '\0');
  for (char& c : garbage) c = static_cast<char>(random());
  EXPECT_EQ(Read(Write(garbage), "Start", "LogFile"), "");

  // NUL bytes and stray brackets around a real entry do not hide it, and a NUL ends
  // the value.
  std::string mixed = std::string("\0\xFF[\0]\n", 6) + "[Start]\n" + std::string("\x01\x02\n") +
                      std::string("LogFile=a\0b\n", 12);
  EXPECT_EQ(Read(Write(mixed), "Start", "LogFile"), "a");

  // A byte order mark before the first section does not hide it.
  EXPECT_EQ(Read(Write("\xEF\xBB\xBF[Start]\nLogFile=x.log\n"), "Start", "LogFile"), "x.log");
}

const Reader kReaders[] = {
    {"OwnReader", platform::ReadProfileString},
#ifdef _WIN32
    {"WindowsProfileApi", platform::GetPrivateProfileStringA},
#endif
};
INSTANTIATE_TEST_SUITE_P(Readers, IniTest, ::testing::ValuesIn(kReaders),
                         [](const ::testing::TestParamInfo<Reader>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
