// The settings file on the platform's private-profile functions, with real files.
#include "settings/Inifun.h"
#include "settings/MainTicks.h"
#include "tests/TestSupport.h"

class SettingsTest : public ProgramFolderTest {};

TEST_F(SettingsTest, MissingFileSectionOrKeyReadsEmpty) {
  EXPECT_EQ("", ReadIni(Settings(), "WINDOWS", "regnum"));
  WriteIni(Settings(), "WINDOWS", "regnum", "21");
  EXPECT_EQ("", ReadIni(Settings(), "WINDOWS", "filesize"));
  EXPECT_EQ("", ReadIni(Settings(), "BROWSERS", "regnum"));
  EXPECT_EQ("21", ReadIni(Settings(), "WINDOWS", "regnum"));
}

TEST_F(SettingsTest, SectionsAndKeysMatchWithoutRegardToCase) {
  WriteIni(Settings(), "MOREAPPLICATIONS", "ACDsee4", "1");
  WriteIni(Settings(), "MSN", "Location", "0");
  EXPECT_EQ("1", ReadIni(Settings(), "MOREAPPLICATIONS", "ACDSee4"));
  EXPECT_EQ("0", ReadIni(Settings(), "msn", "location"));
  // A second write in another case replaces the value in place, not a second key.
  WriteIni(Settings(), "opera", "PATH", "C:\\Opera");
  WriteIni(Settings(), "OPERA", "Path", "D:\\Opera7");
  EXPECT_EQ("D:\\Opera7", ReadIni(Settings(), "Opera", "path"));
  std::string text = ReadFileText(Settings());
  EXPECT_EQ(std::string::npos, text.find("C:\\Opera\r\n"));
}

TEST_F(SettingsTest, ValuesAreTrimmedOfSpaces) {
  WritePrivateProfileStringA("WINDOWS", "run", "  1  ", Settings().c_str());
  EXPECT_EQ("1", ReadIni(Settings(), "WINDOWS", "run"));
  WriteFileText(Settings(), "[WINDOWS]\r\nrecent=   0   \r\nlastclean= 08/12/2026 10:00:00 \r\n");
  EXPECT_EQ("0", ReadIni(Settings(), "WINDOWS", "recent"));
  EXPECT_EQ("08/12/2026 10:00:00", ReadIni(Settings(), "WINDOWS", "lastclean"));
}

TEST_F(SettingsTest, LongValuesAreCutTo128OnWriteAnd127OnRead) {
  std::string path(200, 'x');
  for (size_t i = 0; i < path.size(); ++i) path[i] = static_cast<char>('a' + i % 26);
  WriteIni(Settings(), "OPERA", "Path", path);
  std::string text = ReadFileText(Settings());
  EXPECT_NE(std::string::npos, text.find("Path=" + path.substr(0, 128) + "\r\n"));
  EXPECT_EQ(path.substr(0, 127), ReadIni(Settings(), "OPERA", "Path"));

  std::string exact(127, 'q');
  WriteIni(Settings(), "OPERA", "Path", exact);
  EXPECT_EQ(exact, ReadIni(Settings(), "OPERA", "Path"));
}

TEST_F(SettingsTest, OtherLinesAreLeftUntouched) {
  WriteFileText(Settings(), "; kept comment\r\n[OFFICE]\r\nword=1\r\nexcel=0\r\n");
  WriteIni(Settings(), "office", "WORD", "0");
  WriteIni(Settings(), "OFFICE", "access", "1");
  std::string text = ReadFileText(Settings());
  EXPECT_EQ(0u, text.find("; kept comment\r\n"));
  EXPECT_EQ("0", ReadIni(Settings(), "OFFICE", "word"));
  EXPECT_EQ("0", ReadIni(Settings(), "OFFICE", "excel"));
  EXPECT_EQ("1", ReadIni(Settings(), "OFFICE", "access"));
}

TEST(TickRules, LenientStrictAndText) {
  struct Case {
    const char* value;
    bool lenient, strict, text;
  } cases[] = {
      {"1", true, true, true},     {"", true, false, false},    {"0", false, false, false},
      {"2", false, false, false},  {"yes", true, false, false}, {"1.0", true, true, false},
      {"-1", false, false, false}, {"1x", true, false, false},  {" 1 ", true, true, false},
      {".", true, false, false},   {"1e0", true, true, false},  {"+1", true, true, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.lenient, TickLenient(c.value)) << "'" << c.value << "'";
    EXPECT_EQ(c.strict, TickStrict(c.value)) << "'" << c.value << "'";
    EXPECT_EQ(c.text, TickText(c.value)) << "'" << c.value << "'";
  }
}

TEST_F(SettingsTest, LastRunRecordShowsWhatIsNotZero) {
  LastRunRecord none = ReadLastRun(Settings());
  EXPECT_TRUE(none.showWhen);
  EXPECT_EQ("", none.when);
  EXPECT_TRUE(none.showTotals);
  EXPECT_EQ("Cleaned Registry Keys:  Released HD Space:MB", none.totals);

  WriteIni(Settings(), "WINDOWS", "lastclean", "0");
  WriteIni(Settings(), "WINDOWS", "regnum", "0");
  WriteIni(Settings(), "WINDOWS", "filesize", "0");
  LastRunRecord zero = ReadLastRun(Settings());
  EXPECT_FALSE(zero.showWhen);
  EXPECT_FALSE(zero.showTotals);

  // A lone point is what a run that released nothing stores: not a number, so shown.
  WriteIni(Settings(), "WINDOWS", "filesize", ".");
  LastRunRecord point = ReadLastRun(Settings());
  EXPECT_TRUE(point.showTotals);
  EXPECT_EQ("Cleaned Registry Keys: 0 Released HD Space:.MB", point.totals);
}

TEST(MainTickKeys, TwentySevenDistinctBoxesInStoreOrder) {
  const std::vector<TickKey>& keys = MainTickKeys();
  ASSERT_EQ(27u, keys.size());
  std::vector<int> seen;
  for (const TickKey& k : keys) {
    EXPECT_NE(9, k.check);
    EXPECT_NE(18, k.check);
    for (int s : seen) EXPECT_NE(s, k.check);
    seen.push_back(k.check);
  }
  EXPECT_STREQ("BROWSERS", keys[kBrowserTickCount - 1].section);
  EXPECT_STREQ("WINDOWS", keys[kBrowserTickCount].section);
  EXPECT_STREQ("office", keys.back().key);
}
