// The taskbar's jump lists under Recent Documents History: lists made in the test through the
// structured-storage API, with recent, frequent and pinned entries, in a Recent folder of the test.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "access/CompoundFile.h"
#include "access/JumpList.h"
#include "engine/Preview.h"
#include "settings/Inifun.h"
#include "tests/JumpListMaker.h"
#include "tests/RunRecorder.h"
#include "tests/TestSupport.h"

namespace {

const char kQuickAccess[] = "f01b4d95cf55d32a.automaticDestinations-ms";

// An application's list: two pinned documents, one opened lately, two opened often.
const std::vector<MadeEntry> kWordList = {
    {1, -1, 2, L"C:\\Users\\me\\Documents\\recent.docx"},  {2, 0, 9, L"C:\\Users\\me\\Documents\\pinned-a.docx"},
    {3, -1, 40, L"C:\\Users\\me\\Documents\\frequent.docx"}, {4, 1, 1, L"C:\\Users\\me\\Documents\\pinned-b.docx"},
    {10, -1, 25, L"C:\\Users\\me\\Secret\\often.docx"}};
// Quick Access: the folders pinned to it, and those it shows as frequent.
const std::vector<MadeEntry> kQuickAccessList = {
    {1, 0, 5, L"C:\\Users\\me\\Projects"}, {2, -1, 30, L"C:\\Users\\me\\Secret"},
    {3, 1, 3, L"C:\\Users\\me\\Downloads"}, {4, -1, 12, L"D:\\Private"}};

std::vector<MadeEntry> Pinned(const std::vector<MadeEntry>& entries) {
  std::vector<MadeEntry> kept;
  for (const MadeEntry& e : entries)
    if (e.pin >= 0) kept.push_back(e);
  return kept;
}

// Every stream of a compound file by name; none when it cannot be read.
std::map<std::wstring, std::string> Streams(const std::string& path) {
  std::map<std::wstring, std::string> streams;
  CompoundFile file;
  if (file.Open(path) != CompoundFile::Opened::Ok) return streams;
  std::vector<std::wstring> names;
  bool more = false;
  file.StreamNames(names, more);
  for (const std::wstring& n : names) file.Read(n, streams[n]);
  return streams;
}

}  // namespace

class JumpListTest : public ProgramFolderTest {
 protected:
  TempFolder work{"tswjump"};
  std::string recent = work.File("Recent"), roaming = work.File("Roaming");
  RedirectedShellFolder recentFolder{"Recent", recent};
  RedirectedShellFolder roamingFolder{"AppData", roaming};
  std::string automatic = recent + "\\AutomaticDestinations", custom = recent + "\\CustomDestinations";
  RecordingView view;
  Ticks ticks;

  void SetUp() override {
    ProgramFolderTest::SetUp();
    for (const std::string& f : {recent, roaming, automatic, custom}) CreateDirectoryA(f.c_str(), nullptr);
    ticks.values[10] = 1;
  }
  std::string List(const char* name) const { return automatic + "\\" + name; }
  // The list as it must be once only its pinned entries are left: the same header fields but its
  // counts, the pinned entries as they were, their streams alone.
  void ExpectOnlyPinned(const std::string& path, unsigned version, const std::vector<MadeEntry>& made) {
    const std::map<std::wstring, std::string> streams = Streams(path);
    const std::vector<MadeEntry> pinned = Pinned(made);
    unsigned last = 0;
    for (const MadeEntry& e : made) last = std::max(last, e.number);
    std::string expected = MadeDestHeader(version, static_cast<unsigned>(pinned.size()), static_cast<unsigned>(pinned.size()), last);
    for (const MadeEntry& e : pinned) expected += MadeDestEntry(version, e);
    ASSERT_EQ(1u, streams.count(L"DestList")) << path;
    EXPECT_EQ(expected, streams.at(L"DestList")) << path;
    EXPECT_EQ(pinned.size() + 1, streams.size()) << path;
    for (const MadeEntry& e : pinned) {
      ASSERT_EQ(1u, streams.count(StreamName(e.number))) << path;
      EXPECT_EQ(MadeShellLink(e.target), streams.at(StreamName(e.number)));
    }
  }
  PreviewItem RecentItem(const std::vector<PreviewItem>& preview) {
    for (const PreviewItem& item : preview)
      if (item.name == "Recent Documents History") return item;
    ADD_FAILURE() << "no Recent Documents History in the preview";
    return PreviewItem();
  }
  const PreviewEntry* Find(const PreviewItem& item, const std::string& kind, const std::string& target) {
    for (const PreviewEntry& e : item.entries)
      if (e.kind == kind && e.target == target) return &e;
    return nullptr;
  }
};

TEST_F(JumpListTest, PinnedEntriesStayAndTheRecentAndFrequentOnesGo) {
  ASSERT_TRUE(MakeAutomaticList(List("a7bd71699cd38d1c.automaticDestinations-ms"), 4, kWordList));
  ASSERT_TRUE(MakeAutomaticList(List(kQuickAccess), 4, kQuickAccessList));
  ASSERT_TRUE(MakeAutomaticList(List("12dc1ea8e34b5a6.automaticDestinations-ms"), 1, kWordList));  // Windows 7's layout
  const std::vector<MadeEntry> unpinned = {{1, -1, 2, L"C:\\a.txt"}, {2, -1, 5, L"C:\\b.txt"}};
  ASSERT_TRUE(MakeAutomaticList(List("5d696d521de238c3.automaticDestinations-ms"), 3, unpinned));  // nothing pinned
  const std::vector<std::string> lists = {List("a7bd71699cd38d1c.automaticDestinations-ms"), List(kQuickAccess),
                                          List("12dc1ea8e34b5a6.automaticDestinations-ms"),
                                          List("5d696d521de238c3.automaticDestinations-ms")};
  double released = 0;
  for (const std::string& l : lists) released += static_cast<double>(ReadFileText(l).size());
  CleanRun run(view, ticks, Settings());
  run.Run();
  for (const std::string& l : lists) released -= static_cast<double>(ReadFileText(l).size());
  ExpectOnlyPinned(List("a7bd71699cd38d1c.automaticDestinations-ms"), 4, kWordList);
  ExpectOnlyPinned(List(kQuickAccess), 4, kQuickAccessList);  // Quick Access keeps its pinned folders
  ExpectOnlyPinned(List("12dc1ea8e34b5a6.automaticDestinations-ms"), 1, kWordList);
  ExpectOnlyPinned(List("5d696d521de238c3.automaticDestinations-ms"), 3, unpinned);
  // Nothing of the work is left beside them.
  std::vector<std::string> left;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((automatic + "\\*.tsw-*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    left.push_back(fd.cFileName);
    FindClose(h);
  }
  EXPECT_TRUE(left.empty());
  EXPECT_EQ("Task complete Successfully!", view.lines.at(view.lines.size() - 1));
  EXPECT_GT(released, 0);
  EXPECT_EQ(released, run.filesize());  // what the lists shrank by
}

TEST_F(JumpListTest, AListInUseOrOfAnUnknownLayoutOrMadeReadOnlyIsLeftAndSaidSo) {
  const std::string held = List("aaaa000000000001.automaticDestinations-ms");
  const std::string unknown = List("aaaa000000000002.automaticDestinations-ms");
  const std::string frozen = List("aaaa000000000003.automaticDestinations-ms");
  const std::string notStorage = List("aaaa000000000004.automaticDestinations-ms");
  for (const std::string& path : {held, frozen}) ASSERT_TRUE(MakeAutomaticList(path, 4, kWordList));
  {
    CompoundFile file;  // a DestList of a version not known
    ASSERT_TRUE(file.Create(unknown));
    std::string destList = MadeDestList(4, kWordList);
    Put32(destList, 0, 9);
    ASSERT_TRUE(file.Write(L"DestList", destList) && file.Write(L"1", MadeShellLink(L"C:\\x")) && file.Commit());
  }
  MakeFile(notStorage, "not a compound file");
  SetFileAttributesA(frozen.c_str(), FILE_ATTRIBUTE_READONLY);
  std::map<std::string, std::string> before;
  for (const std::string& path : {held, unknown, frozen, notStorage}) before[path] = ReadFileText(path);
  {
    HANDLE open = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, open);
    const std::vector<PreviewItem> preview = CleanRun(view, ticks, Settings()).Analyze();
    const PreviewItem item = RecentItem(preview);
    EXPECT_NE(nullptr, Find(item, "note", "Left as it is (in use): " + held));
    EXPECT_NE(nullptr, Find(item, "note", "Left as it is (DestList version 9, a layout not known): " + unknown));
    CleanRun(view, ticks, Settings()).Run();
    CloseHandle(open);
  }
  for (const std::string& path : {held, unknown, frozen, notStorage}) EXPECT_EQ(before[path], ReadFileText(path)) << path;
  auto said = [&](const std::string& line) { return std::find(view.lines.begin(), view.lines.end(), line) != view.lines.end(); };
  EXPECT_TRUE(said("Passed over (in use): " + held));
  EXPECT_TRUE(said("Passed over (DestList version 9, a layout not known): " + unknown));
  EXPECT_TRUE(said("Passed over (not a compound file): " + notStorage));
  EXPECT_EQ("Task complete: 3 entries passed over", view.lines.back());
  SetFileAttributesA(frozen.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(JumpListTest, AnalyzeCountsEachListsEntriesAndAKeptPreviewTakesOnlyTheTickedLists) {
  const std::string word = List("a7bd71699cd38d1c.automaticDestinations-ms"), quick = List(kQuickAccess);
  ASSERT_TRUE(MakeAutomaticList(word, 4, kWordList));
  ASSERT_TRUE(MakeAutomaticList(quick, 4, kQuickAccessList));
  const std::string wordBytes = ReadFileText(word), quickBytes = ReadFileText(quick);
  std::vector<PreviewItem> preview = CleanRun(view, ticks, Settings()).Analyze();
  EXPECT_EQ(wordBytes, ReadFileText(word));  // a preview changes nothing
  EXPECT_EQ(quickBytes, ReadFileText(quick));
  const PreviewItem item = RecentItem(preview);
  const PreviewEntry* wordRows = Find(item, "rows", word + ": recent and frequent entries (3 rows)");
  ASSERT_NE(nullptr, wordRows);
  EXPECT_EQ(3u, wordRows->count);
  EXPECT_NE(nullptr, Find(item, "rows", quick + ": recent and frequent entries (2 rows)"));
  const PreviewEntry* pins = Find(item, "kept", word + ": 2 pinned entries");
  ASSERT_NE(nullptr, pins);
  EXPECT_FALSE(pins->ticked);
  EXPECT_EQ("pins you set", pins->seen);

  // Quick Access is unticked: it stays as it is, Word's list is trimmed.
  for (PreviewItem& p : preview)
    for (PreviewEntry& e : p.entries)
      if (e.target.find(kQuickAccess) != std::string::npos) e.ticked = false;
  CleanRun run(view, ticks, Settings());
  run.RunSelected(preview);
  ExpectOnlyPinned(word, 4, kWordList);
  EXPECT_EQ(quickBytes, ReadFileText(quick));
  bool reported = false;
  for (const CleanRun::ItemReport& r : run.report())
    for (const EntryOutcome& o : r.outcomes) reported = reported || (o.kind == "rows" && o.target == word + ": recent and frequent entries (3 rows)" && o.why.empty());
  EXPECT_TRUE(reported);
  EXPECT_GT(run.filesize(), 0);

  // A list that gained an entry since the preview is not trimmed by it.
  std::vector<MadeEntry> more = kQuickAccessList;
  more.push_back({5, -1, 1, L"E:\\Another"});
  DeleteFileA(quick.c_str());
  ASSERT_TRUE(MakeAutomaticList(quick, 4, more));
  const std::string grown = ReadFileText(quick);
  for (PreviewItem& p : preview)
    for (PreviewEntry& e : p.entries) e.ticked = e.target.find(kQuickAccess) != std::string::npos && e.kind == "rows";
  CleanRun again(view, ticks, Settings());
  again.RunSelected(preview);
  EXPECT_EQ(grown, ReadFileText(quick));
  EXPECT_EQ(1u, again.changedSincePreview());
}

TEST_F(JumpListTest, ARunCutShortBetweenItsRenamesLeavesNoPinBehind) {
  // The list was set aside and the new one not yet named: the next run puts the whole list back
  // first, then trims it.
  const std::string word = List("a7bd71699cd38d1c.automaticDestinations-ms");
  ASSERT_TRUE(MakeAutomaticList(word + ".tsw-old", 4, kWordList));
  MakeFile(word + ".tsw-new", "half written");
  CleanRun(view, ticks, Settings()).Analyze();
  EXPECT_FALSE(FileExists(word));  // a preview changes nothing
  CleanRun(view, ticks, Settings()).Run();
  ExpectOnlyPinned(word, 4, kWordList);
  EXPECT_FALSE(FileExists(word + ".tsw-old"));
  EXPECT_FALSE(FileExists(word + ".tsw-new"));
  EXPECT_NE(view.lines.end(), std::find(view.lines.begin(), view.lines.end(), "Restored as it was before an interrupted run: " + word));
}

TEST_F(JumpListTest, SecureErasingOverwritesTheOldListBeforeItGoes) {
  const std::string word = List("a7bd71699cd38d1c.automaticDestinations-ms");
  ASSERT_TRUE(MakeAutomaticList(word, 4, kWordList));
  WriteIni(Settings(), "Additional", "securely", "1");
  OverwrittenFiles overwritten;
  CleanRun(view, ticks, Settings()).Run();
  ExpectOnlyPinned(word, 4, kWordList);
  bool zeroed = false;
  for (const auto& f : overwritten.contents)
    if (f.first.find("a7bd71699cd38d1c.automaticDestinations-ms.tsw-old") != std::string::npos)
      zeroed = !f.second.empty() && f.second.find_first_not_of('\0') == std::string::npos;
  EXPECT_TRUE(zeroed);
}

TEST_F(JumpListTest, CustomListsWithTheirOwnEntriesGoAndListsOfTasksStay) {
  const std::string browser = custom + "\\9b9cdc69c1c24e2b.customDestinations-ms";
  const std::string tasksOnly = custom + "\\1bc392b8e104a00e.customDestinations-ms";
  const std::string odd = custom + "\\2bc392b8e104a00e.customDestinations-ms";
  MakeFile(browser, MadeCustomList(L"Recently closed", {L"https://secret.example/", L"https://bank.example/"}, {L"New window"}));
  MakeFile(tasksOnly, MadeCustomList(L"", {}, {L"New window", L"New private window"}));
  std::string broken = MadeCustomList(L"Most visited", {L"https://a.example/"}, {});
  broken.resize(broken.size() - 3);
  MakeFile(odd, broken);
  MakeFile(roaming + "\\Microsoft\\Office\\Recent\\budget.xlsx.LNK", 400);
  MakeFile(roaming + "\\Microsoft\\Office\\Recent\\index.dat", 100);

  const PreviewItem item = RecentItem(CleanRun(view, ticks, Settings()).Analyze());
  const PreviewEntry* file = Find(item, "file", browser);
  ASSERT_NE(nullptr, file);
  EXPECT_EQ(ReadFileText(browser).size(), file->size);
  EXPECT_EQ(nullptr, Find(item, "file", tasksOnly));
  EXPECT_NE(nullptr, Find(item, "note", "Left as it is (a layout not known): " + odd));
  EXPECT_NE(nullptr, Find(item, "file", roaming + "\\Microsoft\\Office\\Recent\\budget.xlsx.LNK"));

  CleanRun run(view, ticks, Settings());
  run.Run();
  EXPECT_FALSE(FileExists(browser));
  EXPECT_TRUE(FileExists(tasksOnly));
  EXPECT_EQ(broken, ReadFileText(odd));
  EXPECT_FALSE(FileExists(roaming + "\\Microsoft\\Office\\Recent\\budget.xlsx.LNK"));
  EXPECT_FALSE(FileExists(roaming + "\\Microsoft\\Office\\Recent\\index.dat"));
  EXPECT_TRUE(FileExists(roaming + "\\Microsoft\\Office\\Recent"));
  EXPECT_EQ(file->size + 500, run.filesize());
}

TEST(DestListLayout, AStreamThatDoesNotAddUpIsNoneTheCodeKnows) {
  const std::string good = MadeDestList(4, kWordList);
  DestList list;
  ASSERT_TRUE(ReadDestList(good, list));
  ASSERT_EQ(5u, list.entries.size());
  EXPECT_TRUE(list.entries[1].pinned);
  EXPECT_EQ(10u, list.entries[4].number);
  EXPECT_EQ(L"a", EntryStreamName(list.entries[4].number));
  EXPECT_FALSE(ReadDestList(good.substr(0, good.size() - 1), list));  // cut short
  EXPECT_FALSE(ReadDestList(good + std::string(4, '\0'), list));      // more than counted
  std::string miscounted = good;
  Put32(miscounted, 8, 3);  // three pinned, as the header says, but two are
  EXPECT_FALSE(ReadDestList(miscounted, list));
  std::string newer = good;
  Put32(newer, 0, 5);
  EXPECT_FALSE(ReadDestList(newer, list));
}
