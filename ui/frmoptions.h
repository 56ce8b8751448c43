// "Clean Options": the Internet Explorer home page and title, the boss key, start with Windows,
// and the other options of section "Additional". OK applies, Cancel changes nothing.
#pragma once
#include <map>
#include <string>

#include "ui/Dialog.h"

class App;

class frmoptions : public Dialog {
 public:
  explicit frmoptions(App& app) : app_(app) {}
  void ShowModal(HWND owner);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  void OkPressed();
  App& app_;
  std::map<std::string, std::string> shown_;  // what each home-page box showed at load, by value name
};
