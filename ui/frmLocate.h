// Search & Erase: a drive and a folder, a search string of patterns, the files found with
// their size and date, and deletion of the selected ones (permanently or to the Recycle Bin).
// The walk is FindFiles; this window only shows what it reports and keeps one path per line.
#pragma once
#include <string>
#include <vector>

#include "search/FileHunt.h"
#include "ui/Dialog.h"
#include "ui/HuntList.h"

class App;

class frmLocate : public Dialog, public HuntView {
 public:
  explicit frmLocate(App& app) : app_(app) {}
  void ShowModal(HWND owner);

  // What the window's buttons and lists do, as the user triggers them.
  void FindPressed();
  void ChangeFolder(const std::string& folder);  // Dir1 (or Drive1) changed: a search there
  void DeletePressed();
  void ResetAll();
  const std::vector<std::string>& LinePaths() const { return list_.paths(); }
  const std::string& Folder() const { return folder_; }

  // HuntView
  void SetSearching(bool searching) override;
  void ShowFolder(const std::string& folder) override;
  void HandleMessages() override;
  bool StopRequested() const override { return stop_; }
  void BeginFolderLines(size_t files) override;
  void EndFolderLines() override;
  void AddLine(const std::string& line, const std::string& path) override;
  int TextWidth(const std::string& text) override;
  void Finish(const std::string& summary, int widestLine) override;

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnClose() override;

 private:
  enum class Action { None, Find, FolderSearch, Delete };
  // A request while a search runs stops that search first; the request then runs after it.
  void Request(Action action);
  void Perform(Action action);
  void Search();  // FindFiles on the chosen folder with the search string, into an empty list
  void FillDrives();
  void FillFolders();
  void OpenHighlightedFolder();
  void ShowOptions();

  App& app_;
  std::string folder_;                 // Dir1's folder, ending in "\"
  std::vector<std::string> dirPaths_;  // one folder per line of Dir1
  HuntList list_;                      // List1
  bool searching_ = false;
  bool stop_ = false;
  Action pending_ = Action::None;
};
