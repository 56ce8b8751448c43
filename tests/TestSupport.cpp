#include "tests/TestSupport.h"

#include <fstream>
#include <sstream>

#include "settings/AppFolder.h"

namespace {

// Removes a folder the tests made, depth first; never follows anything outside it.
void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      std::string full = folder + "\\" + name;
      SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
      else DeleteFileA(full.c_str());
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(folder.c_str());
}

}  // namespace

TempFolder::TempFolder(const std::string& tag) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string base(temp);
  if (!base.empty() && base.back() == '\\') base.pop_back();
  static unsigned counter = 0;
  for (;;) {
    std::ostringstream name;
    name << base << "\\" << tag << "-" << GetCurrentProcessId() << "-" << GetTickCount() << "-" << ++counter;
    if (CreateDirectoryA(name.str().c_str(), nullptr)) {
      path_ = name.str();
      break;
    }
  }
}

TempFolder::~TempFolder() { RemoveTree(path_); }

MessageRecorder::MessageRecorder(int answer) : answer_(answer) {
  SetMessageHandler([this](const MessageRequest& r) {
    seen.push_back(r);
    return answer_;
  });
}

MessageRecorder::~MessageRecorder() { SetMessageHandler(nullptr); }

void ProgramFolderTest::SetUp() {
  folder_ = new TempFolder("tswprog");
  OverrideProgramFolder(folder_->path());
}

void ProgramFolderTest::TearDown() {
  OverrideProgramFolder("");
  delete folder_;
  folder_ = nullptr;
}

std::string ProgramFolderTest::Settings() const { return folder_->File("prisd.dat"); }

std::string ReadFileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFileText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
