// The cleaning run without a screen: a recording view and a set of ticks.
#include "engine/CleanRun.h"
#include "settings/Inifun.h"
#include "tests/RunRecorder.h"
#include "tests/TestSupport.h"
#include "ui/App.h"
#include "ui/Frmsplash.h"
#include "ui/frmMainCode.h"

namespace {

const char kMoreStart[] = "Please Waiting ,Cleaning More Applications......";
const char kMoreEnd[] = "Cleaning More Applications......OK";

}  // namespace

class CleanRunTest : public ProgramFolderTest {
 protected:
  IsolatedTrackFolders isolated;
  RecordingView view;
  Ticks ticks;
  void Run() { CleanRun(view, ticks, Settings()).Run(); }
};

TEST_F(CleanRunTest, NothingTickedStillRunsMoreApplicationsAndStoresZeroTotals) {
  Run();
  std::vector<std::string> expected = {"Please waiting,Begin Cleaning", kMoreStart, kMoreEnd,
                                       "Task complete Successfully!"};
  EXPECT_EQ(expected, view.lines);
  ASSERT_EQ(1u, view.summaries.size());
  EXPECT_EQ("Task complete Successfully! Cleaned Registry Keys: 0 Released HD Space:.MB", view.summaries[0]);
  EXPECT_EQ("0", ReadIni(Settings(), "WINDOWS", "regnum"));
  EXPECT_EQ(".", ReadIni(Settings(), "WINDOWS", "filesize"));
  std::vector<int> bar = {1, 5, 10, 17, 21, 24, 30, 32, 35, 36, 36, 37, 38, 40, 43,
                          45, 47, 49, 50, 51, 52, 58, 60, 64, 67, 73, 89, 98, 100};
  EXPECT_EQ(bar, view.progress);
  EXPECT_EQ("Status", view.caption);
  EXPECT_FALSE(view.busy);
  EXPECT_TRUE(view.buttonEnabled);
}

TEST_F(CleanRunTest, RunStateIsShownBeforeTheFirstItemAndClearedAfterTheSummary) {
  Run();
  ASSERT_GE(view.events.size(), 5u);
  EXPECT_EQ("caption:Cleaning In Progress,Please Waiting a few minutes", view.events[0]);
  EXPECT_EQ("busy", view.events[1]);
  EXPECT_EQ("disable", view.events[2]);
  EXPECT_EQ("clear", view.events[3]);
  EXPECT_EQ("add:Please waiting,Begin Cleaning", view.events[4]);
  std::vector<std::string> tail(view.events.end() - 6, view.events.end());
  std::vector<std::string> expected = {"refresh", "summary", "forward", "enable", "caption:Status", "idle"};
  EXPECT_EQ(expected, tail);
}

TEST_F(CleanRunTest, EverythingTickedWalksAllItemsInOrderWithFixedTotals) {
  ticks.All(1);
  WriteIni(Settings(), "Additional", "Custom", "1");
  Run();
  // Start lines in run order: browsers, Windows, applications, more, custom.
  std::vector<std::string> names = {
      "IE Location Bar History", "IE Internet History Files", "IE Internet Cache", "IE Cookies",
      "IE Favorites", "IE Autocomplete Memory", "IE Downloaded program Files Director",
      "Netscape Navigator", "Opera", "MSN Explorer", "Google Tool Bar Search History",
      "Recent Documents History", "Start Menu Run History", "Start Menu Search History",
      "Windows Temp", "Recycle Bin", "Open/Save Dialog Box History", "Scandisk Temp Files",
      "Windows Passwords", "Windows Clipboard", "Wordpad Recent Files", "Windows Paint Recent Files",
      "Winzip Recent Files", "Media Player playlist", "RealOne Player Recent Files",
      "Real Player playlist", "MS-Office Tracks", "More Applications", "Custom Clean Items"};
  ASSERT_EQ(2 + 2 * names.size(), view.lines.size());
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string& start = view.lines[1 + 2 * i];
    EXPECT_EQ(0u, start.find("Please Waiting ,Cleaning " + names[i] + "...")) << start;
    if (names[i] == "Opera") EXPECT_EQ("Can't found Opera Directory!", view.lines[2 + 2 * i]);  // no Opera here
    else EXPECT_EQ(0u, view.lines[2 + 2 * i].find("Cleaning " + names[i])) << view.lines[2 + 2 * i];
  }
  // Lines whose dots differ from the rest are shown as they stand.
  EXPECT_EQ("Cleaning IE Location Bar History.....OK", view.lines[2]);
  EXPECT_EQ("Please Waiting ,Cleaning Recycle Bin....", view.lines[31]);
  EXPECT_EQ("Cleaning Recycle Bin......OK", view.lines[32]);
  EXPECT_EQ("Cleaning Windows Clipboard......", view.lines[40]);
  EXPECT_EQ("Please Waiting ,Cleaning IE Cookies.......", view.lines[7]);
  // 15+5+1+1+1+4+16+1+1+1+1+9+9+6 keys; 500000+50000+2000 bytes.
  ASSERT_EQ(1u, view.summaries.size());
  EXPECT_EQ("Task complete Successfully! Cleaned Registry Keys: 71 Released HD Space:.53MB", view.summaries[0]);
  EXPECT_EQ("71", ReadIni(Settings(), "WINDOWS", "regnum"));
  EXPECT_EQ(".53", ReadIni(Settings(), "WINDOWS", "filesize"));
}

TEST_F(CleanRunTest, OnlyTickedBoxesOpenTheirGate) {
  ticks.All(2);  // greyed
  ticks.values[28] = 1;
  ticks.values[13] = 1;
  ticks.values[9] = 1;  // select-all boxes are not items
  ticks.values[18] = 1;
  Run();
  std::vector<std::string> expected = {
      "Please waiting,Begin Cleaning",
      "Please Waiting ,Cleaning Windows Temp.......", "Cleaning Windows Temp.......OK",
      "Please Waiting ,Cleaning Wordpad Recent Files......", "Cleaning Wordpad Recent Files......OK",
      kMoreStart, kMoreEnd, "Task complete Successfully!"};
  EXPECT_EQ(expected, view.lines);
  EXPECT_EQ("Task complete Successfully! Cleaned Registry Keys: 1 Released HD Space:.MB", view.summaries.at(0));
  // Temp repaints the list after its end line; Wordpad does not.
  auto after = [&](const std::string& line) {
    for (size_t i = 0; i + 1 < view.events.size(); ++i)
      if (view.events[i] == "add:" + line) return view.events[i + 1];
    return std::string("missing");
  };
  EXPECT_EQ("refresh", after("Cleaning Windows Temp.......OK"));
  EXPECT_EQ("add:" + std::string(kMoreStart), after("Cleaning Wordpad Recent Files......OK"));
}

TEST_F(CleanRunTest, CustomItemFollowsItsSettingNotACheckBox) {
  ticks.All(1);
  WriteIni(Settings(), "Additional", "Custom", " 1 ");  // trimmed on read: selected
  Run();
  EXPECT_EQ("Cleaning Custom Clean Items......OK", view.lines.at(view.lines.size() - 2));
  view = RecordingView();
  WriteIni(Settings(), "Additional", "Custom", "yes");
  Run();
  EXPECT_EQ(kMoreEnd, view.lines.at(view.lines.size() - 2));
}

TEST_F(CleanRunTest, CustomItemWithoutItsListFileFinishesTheRun) {
  WriteIni(Settings(), "Additional", "Custom", "1");
  ASSERT_FALSE(FileExists(folder_->File("cusd.dat")));
  Run();
  std::vector<std::string> expected = {
      "Please waiting,Begin Cleaning", kMoreStart, kMoreEnd,
      "Please Waiting ,Cleaning Custom Clean Items......", "Cleaning Custom Clean Items......OK",
      "Task complete Successfully!"};
  EXPECT_EQ(expected, view.lines);
  EXPECT_EQ(100, view.progress.back());
  EXPECT_EQ(1u, view.summaries.size());
  EXPECT_TRUE(view.buttonEnabled);
  EXPECT_FALSE(view.busy);
  EXPECT_EQ("0", ReadIni(Settings(), "WINDOWS", "regnum"));
}

TEST_F(CleanRunTest, ExitOptionEndsTheProgramWithoutSummaryOrTotals) {
  WriteIni(Settings(), "WINDOWS", "regnum", "12");
  WriteIni(Settings(), "WINDOWS", "filesize", "3.5");
  WriteIni(Settings(), "Additional", "exit", "1");
  ticks.All(1);
  Run();
  EXPECT_TRUE(view.ended);
  EXPECT_TRUE(view.summaries.empty());
  EXPECT_EQ("end", view.events.back());
  EXPECT_EQ(98, view.progress.back());
  EXPECT_EQ(kMoreEnd, view.lines.back());
  EXPECT_EQ("12", ReadIni(Settings(), "WINDOWS", "regnum"));
  EXPECT_EQ("3.5", ReadIni(Settings(), "WINDOWS", "filesize"));
}

TEST_F(CleanRunTest, SecondRunStartsFromEmptyListAndZeroTotals) {
  ticks.values[12] = 1;
  CleanRun run(view, ticks, Settings());
  run.Run();
  EXPECT_EQ(4, run.regnum());
  size_t firstLines = view.lines.size();
  run.Run();
  EXPECT_EQ(4, run.regnum());
  EXPECT_EQ(firstLines, view.lines.size());
  EXPECT_EQ("Task complete Successfully! Cleaned Registry Keys: 4 Released HD Space:.MB", view.summaries.at(1));
  EXPECT_EQ("4", ReadIni(Settings(), "WINDOWS", "regnum"));
}

TEST_F(CleanRunTest, AStepRunsBetweenItsLinesAndMayReplaceTheEndLine) {
  std::vector<RunItem> items = RunItems();
  static std::vector<std::string>* seen = nullptr;
  seen = &view.lines;
  // Opera's row: a step that finds no folder.
  items[8].step = [](RunContext& ctx) {
    EXPECT_EQ("Please Waiting ,Cleaning Opera......", seen->back());
    ctx.endLine = "Can't found Opera Directory!";
    ctx.filesize += 1048576.0 * 12;
    ctx.regnum += 2;
  };
  // MS-Office's fixed 6 is counted before its start line; check it reaches the step.
  items[26].step = [](RunContext& ctx) { EXPECT_EQ(8, ctx.regnum); };
  ticks.values[24] = 1;
  ticks.values[23] = 1;
  CleanRun(view, ticks, Settings(), items).Run();
  EXPECT_EQ("Can't found Opera Directory!", view.lines.at(2));
  EXPECT_EQ("Task complete Successfully! Cleaned Registry Keys: 8 Released HD Space:12.MB", view.summaries.at(0));
  EXPECT_EQ("12.", ReadIni(Settings(), "WINDOWS", "filesize"));
}

TEST(RunText, MegabytesFormat) {
  EXPECT_EQ(".", FormatMegabytes(0));
  EXPECT_EQ(".5", FormatMegabytes(0.5));
  EXPECT_EQ("12.", FormatMegabytes(12));
  EXPECT_EQ("12.35", FormatMegabytes(12.346));
  EXPECT_EQ("1234.5", FormatMegabytes(1234.5));
  EXPECT_EQ(".01", FormatMegabytes(0.009));
  EXPECT_EQ("1.", FormatMegabytes(0.999));
  EXPECT_EQ("13.", FormatMegabytes(13631488 / 1048576.0));
  EXPECT_EQ("123456.", FormatMegabytes(123456));
}

TEST(RunText, SummaryJoinsWithoutExtraSpaces) {
  EXPECT_EQ("Task complete Successfully! Cleaned Registry Keys: 25 Released HD Space:13.MB",
            SummaryText(25, 13631488));
}

TEST(RunText, GeneralDateLeavesOutMidnight) {
  std::string midnight = GeneralDateText(2026, 12, 8, 0, 0, 0);
  std::string later = GeneralDateText(2026, 12, 8, 14, 5, 9);
  EXPECT_FALSE(midnight.empty());
  EXPECT_EQ(std::string::npos, midnight.find(' '));
  EXPECT_EQ(0u, later.find(midnight + " "));
  EXPECT_NE(std::string::npos, later.find("05"));
  EXPECT_NE(std::string::npos, later.find("09"));
}

TEST_F(CleanRunTest, CleanNowStampsTheStartTime) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  StampLastClean(Settings());
  std::string stamp = ReadIni(Settings(), "WINDOWS", "lastclean");
  std::string today = GeneralDateText(now.wYear, now.wMonth, now.wDay, 0, 0, 0);
  EXPECT_EQ(0u, stamp.find(today)) << stamp;
}

// This test program carries no window templates, so no window of the program can be made.
TEST(StartUp, AProgramWhoseWindowCannotBeMadeSaysSoAndEnds) {
  MessageRecorder messages;
  App app;
  EXPECT_FALSE(app.Start());
  ASSERT_EQ(1u, messages.seen.size());
  EXPECT_EQ(0u, messages.seen[0].text.find("Tracksweep could not open its window"));
  EXPECT_EQ("Tracksweep", messages.seen[0].title);
  EXPECT_FALSE(app.Splash().IsLoaded());
  EXPECT_FALSE(app.Main().IsLoaded());
}
