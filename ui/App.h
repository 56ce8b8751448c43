// The program's windows and the ways they come and go.
#pragma once
#include <memory>

class frmMainCode;
class frmcleannow;
class Frmsplash;
class frmabout;
class frmcookie;
class frmurl;
class frmtray;

class App {
 public:
  App();
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  frmMainCode& Main() { return *main_; }
  frmcleannow& CleanNow() { return *cleanNow_; }
  Frmsplash& Splash() { return *splash_; }
  frmabout& About() { return *about_; }
  frmcookie& Cookie() { return *cookie_; }
  frmurl& Url() { return *url_; }
  frmtray& Tray() { return *tray_; }

  // Start-up: the splash, which loads the main window hidden and later shows it. When the
  // splash cannot be created the user is told so and the result is false: there is nothing
  // for the program to wait on.
  bool Start();
  // The tray window: the icon, and the boss key when it is on. Loaded by the splash timer.
  void LoadTray();
  void UnloadTray();
  bool TrayLoaded() const;
  // Switches the boss key on the tray window (nothing while there is no tray).
  void SetBossKey(bool on);
  // The tray menu's Exit: the tray, then the other windows, the main window last.
  void ExitFromTray();
  // The "Exit after cleaning" option: tray, progress dialog, then the main window.
  void EndAfterRun();

 private:
  std::unique_ptr<frmMainCode> main_;
  std::unique_ptr<frmcleannow> cleanNow_;
  std::unique_ptr<Frmsplash> splash_;
  std::unique_ptr<frmabout> about_;
  std::unique_ptr<frmcookie> cookie_;
  std::unique_ptr<frmurl> url_;
  std::unique_ptr<frmtray> tray_;
};

// Opens the product's web address in the default browser.
void OpenWebAddress();
