// Registry access against the real registry of the test prefix, below a key of the test's own.
#include <shlwapi.h>

#include "access/Eraser.h"
#include "access/Module1.h"
#include "access/RegKey.h"
#include "access/RegSequences.h"
#include "access/regfun.h"
#include "tests/TestSupport.h"

namespace {

bool KeyExists(HKEY root, const std::string& sub) {
  RegKey k;
  return k.Open(root, sub, KEY_READ) == ERROR_SUCCESS;
}

void PutString(const std::string& sub, const std::string& name, const std::string& value) {
  RegKey k;
  ASSERT_EQ(ERROR_SUCCESS, k.Create(HKEY_CURRENT_USER, sub));
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(k.get(), name.c_str(), 0, REG_SZ,
                                          reinterpret_cast<const BYTE*>(value.c_str()),
                                          static_cast<DWORD>(value.size() + 1)));
}

DWORD CountValues(const std::string& sub) {
  RegKey k;
  DWORD values = 0, subkeys = 0;
  if (k.Open(HKEY_CURRENT_USER, sub, KEY_READ) != ERROR_SUCCESS) return 9999;
  RegQueryInfoKeyA(k.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr, nullptr, nullptr);
  return values + subkeys;
}

}  // namespace

class RegistryTest : public ::testing::Test {
 protected:
  std::string base;  // HKCU\Software\TracksweepTests\<unique>
  MessageRecorder messages;
  void SetUp() override {
    base = "Software\\TracksweepTests\\" + std::to_string(GetCurrentProcessId()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
  }
  void TearDown() override { SHDeleteKeyA(HKEY_CURRENT_USER, base.c_str()); }
  std::string Full(const std::string& sub = "") const {
    return "HKEY_CURRENT_USER\\" + base + (sub.empty() ? "" : "\\" + sub);
  }
};

TEST_F(RegistryTest, ParseKeyPathSplitsRootAndSubKey) {
  std::string path = "HKEY_LOCAL_MACHINE\\Software\\A\\B";
  HKEY root = nullptr;
  ParseKeyPath(path, root);
  EXPECT_EQ(HKEY_LOCAL_MACHINE, root);
  EXPECT_EQ("Software\\A\\B", path);

  path = "HKEY_CURRENT_USER";
  ParseKeyPath(path, root);
  EXPECT_EQ(HKEY_CURRENT_USER, root);
  EXPECT_EQ("", path);

  path = "HKEY_LOCAL\\Software";  // passes the format test, names no root, says nothing
  ParseKeyPath(path, root);
  EXPECT_EQ(nullptr, root);
  EXPECT_TRUE(messages.seen.empty());
}

TEST_F(RegistryTest, MalformedPathsShowIncorrectFormatAndTouchNothing) {
  for (const char* bad : {"HKEY_CURRENT_USER\\", "Software\\Microsoft", "hkey_current_user\\Software", ""}) {
    messages.seen.clear();
    std::string path = bad;
    HKEY root = HKEY_CLASSES_ROOT;
    ParseKeyPath(path, root);
    EXPECT_EQ(nullptr, root) << bad;
    ASSERT_EQ(1u, messages.seen.size()) << bad;
    EXPECT_EQ(std::string("Incorrect Format:\n\n") + bad, messages.seen[0].text);
    EXPECT_EQ("Tracksweep", messages.seen[0].title);
    EXPECT_EQ(static_cast<UINT>(MB_OK), messages.seen[0].flags);
  }
  messages.seen.clear();
  CreateKey("hkey_current_user\\" + base);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, base));
  EXPECT_EQ(1u, messages.seen.size());
}

TEST_F(RegistryTest, RootNamesAreExact) {
  EXPECT_EQ(HKEY_CLASSES_ROOT, RootKeyFromName("HKEY_CLASSES_ROOT"));
  EXPECT_EQ(HKEY_CURRENT_USER, RootKeyFromName("HKEY_CURRENT_USER"));
  EXPECT_EQ(HKEY_LOCAL_MACHINE, RootKeyFromName("HKEY_LOCAL_MACHINE"));
  EXPECT_EQ(HKEY_USERS, RootKeyFromName("HKEY_USERS"));
  EXPECT_EQ(HKEY_PERFORMANCE_DATA, RootKeyFromName("HKEY_PERFORMANCE_DATA"));
  EXPECT_EQ(HKEY_CURRENT_CONFIG, RootKeyFromName("HKEY_CURRENT_CONFIG"));
  EXPECT_EQ(HKEY_DYN_DATA, RootKeyFromName("HKEY_DYN_DATA"));
  EXPECT_EQ(nullptr, RootKeyFromName("HKEY_Current_User"));
  EXPECT_EQ(nullptr, RootKeyFromName("HKCU"));
}

TEST_F(RegistryTest, GetStringValueTrimsAndReportsFailures) {
  PutString(base, "spaced", "  C:\\Temp Folder  ");
  PutString(base, "empty", "");
  PutString(base, "long254", std::string(254, 'x'));
  PutString(base, "long255", std::string(255, 'y'));
  EXPECT_EQ("C:\\Temp Folder", GetStringValue(Full(), "spaced"));
  EXPECT_EQ("", GetStringValue(Full(), "empty"));
  EXPECT_EQ(std::string(254, 'x'), GetStringValue(Full(), "long254"));
  EXPECT_EQ("Error", GetStringValue(Full(), "long255"));
  EXPECT_EQ("Error", GetStringValue(Full(), "missing"));
  EXPECT_EQ("Error", GetStringValue(Full("nokey"), "spaced"));
  EXPECT_EQ("", GetStringValue("HKEY_NOWHERE\\" + base, "spaced"));
}

TEST_F(RegistryTest, GetStringValueReadsTheRootKeyItself) {
  const char* name = "TracksweepRootProbe";
  {
    RegKey hkcu;
    ASSERT_EQ(ERROR_SUCCESS, hkcu.Open(HKEY_CURRENT_USER, "", KEY_WRITE));
    RegSetValueExA(hkcu.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>("root"), 5);
  }
  EXPECT_EQ("root", GetStringValue("HKEY_CURRENT_USER", name));
  RegKey hkcu;
  hkcu.Open(HKEY_CURRENT_USER, "", KEY_WRITE);
  RegDeleteValueA(hkcu.get(), name);
}

TEST_F(RegistryTest, ReadRegValueKeepsSpacesAndSaysError) {
  PutString(base, "spaced", "  keep me  ");
  DWORD type = REG_SZ;
  EXPECT_EQ("  keep me  ", ReadRegValue(HKEY_CURRENT_USER, base, "spaced", type));
  EXPECT_EQ("error", ReadRegValue(HKEY_CURRENT_USER, base, "missing", type));
  EXPECT_EQ("error", ReadRegValue(HKEY_CURRENT_USER, base + "\\nokey", "spaced", type));
  EXPECT_EQ("abc", TrimAtNull(std::string("abc\0def", 7)));
  EXPECT_EQ("abc", TrimAtNull("abc"));
  EXPECT_EQ("", TrimAtNull(std::string("\0x", 2)));
}

TEST_F(RegistryTest, SetStringValueWritesOnlyIntoAnExistingKey) {
  SetStringValue(Full("absent"), "v", "x");
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, base + "\\absent"));
  CreateKey(Full("a\\b\\c"));
  ASSERT_TRUE(KeyExists(HKEY_CURRENT_USER, base + "\\a\\b\\c"));
  SetStringValue(Full("a\\b\\c"), "Start Page", "about:blank");
  EXPECT_EQ("about:blank", GetStringValue(Full("a\\b\\c"), "Start Page"));
  BlankValue(Full("a\\b\\c"), "Start Page");
  DWORD type = 0;
  EXPECT_EQ("", ReadRegValue(HKEY_CURRENT_USER, base + "\\a\\b\\c", "Start Page", type));
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
}

TEST_F(RegistryTest, DeleteKeyTakesTheSubKeysToo) {
  PutString(base + "\\k\\sub\\deeper", "v", "1");
  DeleteKey(Full("k"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, base + "\\k"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, base));
  DeleteKey(Full("k"));  // already gone: silently nothing
  EXPECT_TRUE(messages.seen.empty());
}

TEST_F(RegistryTest, ResetKeyLeavesTheKeyEmptyWithOrWithoutLeadingBackslash) {
  PutString(base + "\\RunMRU", "a", "notepad\\1");
  PutString(base + "\\RunMRU", "MRUList", "a");
  PutString(base + "\\RunMRU\\child", "x", "y");
  ResetKey(HKEY_CURRENT_USER, "\\" + base + "\\RunMRU");
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, base + "\\RunMRU"));
  EXPECT_EQ(0u, CountValues(base + "\\RunMRU"));

  ResetKey(HKEY_CURRENT_USER, base + "\\missing\\parents\\MRU");
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, base + "\\missing\\parents\\MRU"));
  EXPECT_EQ(0u, CountValues(base + "\\missing\\parents\\MRU"));
}

TEST_F(RegistryTest, RemoveKeyAndRemoveExistingKey) {
  PutString(base + "\\OpenSaveMRU\\txt\\inner", "a", "1");
  PutString(base + "\\OpenSaveMRU\\xyz", "a", "1");
  RemoveKey(HKEY_CURRENT_USER, "\\" + base + "\\OpenSaveMRU\\txt");
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, base + "\\OpenSaveMRU\\txt"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, base + "\\OpenSaveMRU\\xyz"));

  RemoveKey(HKEY_CURRENT_USER, base + "\\p1\\p2\\gone");  // parents are created and stay
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, base + "\\p1\\p2"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, base + "\\p1\\p2\\gone"));

  RemoveExistingKey(HKEY_CURRENT_USER, base + "\\q1\\gone");  // nothing created
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, base + "\\q1"));
  RemoveExistingKey(HKEY_CURRENT_USER, base + "\\OpenSaveMRU");
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, base + "\\OpenSaveMRU"));
}

TEST_F(RegistryTest, DeleteValueKeepsTheKeyAndOtherValues) {
  PutString(base + "\\Run", "Tracksweep", "C:\\Tsw.exe");
  PutString(base + "\\Run", "Other", "x");
  DeleteValue(HKEY_CURRENT_USER, base + "\\Run", "Tracksweep");
  DWORD type = REG_SZ;
  EXPECT_EQ("error", ReadRegValue(HKEY_CURRENT_USER, base + "\\Run", "Tracksweep", type));
  EXPECT_EQ("x", ReadRegValue(HKEY_CURRENT_USER, base + "\\Run", "Other", type));
  DeleteValue(HKEY_CURRENT_USER, base + "\\NoKey", "Tracksweep");
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, base + "\\NoKey"));
}

TEST_F(RegistryTest, ARecordingEraserListsWhatWouldGoAndChangesNothing) {
  PutString(base + "\\RunMRU", "a", "1");
  PutString(base + "\\Run", "Tracksweep", "x");
  PutString(base + "\\Tree\\leaf", "a", "1");
  RecordingEraser preview;
  {
    ScopedEraser scope(preview);
    ResetKey(HKEY_CURRENT_USER, base + "\\RunMRU");
    RemoveKey(HKEY_CURRENT_USER, base + "\\NotThere");
    DeleteValue(HKEY_CURRENT_USER, base + "\\Run", "Tracksweep");
    DeleteKey(Full("Tree"));
  }
  ASSERT_EQ(3u, preview.entries.size());
  EXPECT_EQ("key", preview.entries[0].kind);
  EXPECT_EQ("HKEY_CURRENT_USER\\" + base + "\\RunMRU", preview.entries[0].target);
  EXPECT_EQ("value", preview.entries[1].kind);
  EXPECT_EQ("HKEY_CURRENT_USER\\" + base + "\\Run\\Tracksweep", preview.entries[1].target);
  EXPECT_EQ("HKEY_CURRENT_USER\\" + base + "\\Tree", preview.entries[2].target);
  EXPECT_EQ(1u, CountValues(base + "\\RunMRU"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, base + "\\NotThere"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, base + "\\Tree\\leaf"));
  DWORD type = REG_SZ;
  EXPECT_EQ("x", ReadRegValue(HKEY_CURRENT_USER, base + "\\Run", "Tracksweep", type));
}

TEST_F(RegistryTest, ValuesWrittenWithoutTheirNulReadBackExactly) {
  CreateKey(Full("w"));
  SetStringValue(Full("w"), "v", "abc");
  DWORD type = REG_SZ;
  EXPECT_EQ("abc", ReadRegValue(HKEY_CURRENT_USER, base + "\\w", "v", type));
  EXPECT_EQ("abc", GetStringValue(Full("w"), "v"));
  SetStringValue(Full("w"), "v", "");
  EXPECT_EQ("", ReadRegValue(HKEY_CURRENT_USER, base + "\\w", "v", type));
  EXPECT_EQ("", GetStringValue(Full("w"), "v"));
}
