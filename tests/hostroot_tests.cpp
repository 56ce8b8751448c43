// Run by hostroot-run.sh, which maps Y: to the host's root for this program alone. Only the
// guard's verdicts are asked here: nothing in this program erases, lists or writes on Y:.
#include "access/FolderGuard.h"
#include "tests/TestSupport.h"

TEST(HostRootDrive, IsRefusedForEveryErasure) {
  ASSERT_TRUE(OnHostRootDrive("Y:\\")) << "hostroot-run.sh maps Y: to the host's root";
  EXPECT_TRUE(OnHostRootDrive("y:\\tmp\\x"));
  EXPECT_FALSE(OnHostRootDrive("C:\\windows\\Temp"));
  EXPECT_FALSE(OnHostRootDrive("D:\\"));
  for (const char* folder : {"Y:\\tmp", "Y:\\root\\Documents", "y:\\home\\someone\\.cache\\x", "Y:\\tmp\\"})
    EXPECT_FALSE(FolderMayBeErased(folder)) << folder;
  for (const char* pattern : {"Y:\\*.chk", "Y:\\tmp\\*.tmp", "Y:\\tmp\\x.txt", "Y:\\tmp\\*.*"})
    EXPECT_FALSE(PatternMayBeErased(pattern)) << pattern;
}
