#include "platform/ini.h"

#include <gtest/gtest.h>

#include <random>

#include "fakes/temp_dir.h"

namespace {

class IniTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& bytes) {
    std::string path = dir_ + "/test.ini";
    WriteFile(path, bytes);
    return path;
  }

  TempDir tmp_{"vk-ini"};
  std::string dir_ = tmp_.Path();
};

TEST_F(IniTest, ValuesFollowTheProfileRules) {
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
    EXPECT_EQ(platform::ReadIniString(path, c.section, c.key), c.value);
  }
}

TEST_F(IniTest, LongValuesAreCutToTheBuffer) {
  const std::string path = Write("[Start]\nLogFile=" + std::string(3000, 'x') + "\n");
  EXPECT_EQ(platform::ReadIniString(path, "Start", "LogFile"), std::string(2047, 'x'));

  char buffer[8];
  EXPECT_EQ(platform::GetPrivateProfileStringA("Start", "LogFile", "", buffer, 8, path.c_str()),
            7u);
  EXPECT_STREQ(buffer, "xxxxxxx");
  EXPECT_EQ(
      platform::GetPrivateProfileStringA("Start", "None", "default value", buffer, 8, path.c_str()),
      7u);
  EXPECT_STREQ(buffer, "default");
  EXPECT_EQ(platform::GetPrivateProfileStringA("Start", "LogFile", "", buffer, 1, path.c_str()),
            0u);
  EXPECT_STREQ(buffer, "");
}

TEST_F(IniTest, MissingOrUnreadableFilesGiveTheDefault) {
  char buffer[64];
  for (const std::string& name : {dir_ + "/none.ini", dir_, std::string()}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(platform::GetPrivateProfileStringA("Start", "LogFile", "dflt", buffer, sizeof buffer,
                                                 name.c_str()),
              4u);
    EXPECT_STREQ(buffer, "dflt");
    EXPECT_EQ(platform::ReadIniString(name, "Start", "LogFile"), "");
  }
}

TEST_F(IniTest, BinaryGarbageReadsAsEmpty) {
  std::mt19937 random(7);
  std::string garbage(100000, '\0');
  for (char& c : garbage) c = static_cast<char>(random());
  EXPECT_EQ(platform::ReadIniString(Write(garbage), "Start", "LogFile"), "");

  // NUL bytes and stray brackets around a real entry do not hide it, and a NUL ends
  // the value.
  std::string mixed = std::string("\0\xFF[\0]\n", 6) + "[Start]\n" + std::string("\x01\x02\n") +
                      std::string("LogFile=a\0b\n", 12);
  EXPECT_EQ(platform::ReadIniString(Write(mixed), "Start", "LogFile"), "a");

  // A byte order mark before the first section does not hide it.
  EXPECT_EQ(
      platform::ReadIniString(Write("\xEF\xBB\xBF[Start]\nLogFile=x.log\n"), "Start", "LogFile"),
      "x.log");
}

}  // namespace
