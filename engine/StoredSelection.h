// The main window's ticks as prisd.dat keeps them, for runs without the window.
#pragma once
#include <string>

#include "engine/CleanRun.h"

class StoredSelection : public Selection {
 public:
  explicit StoredSelection(std::string settingsFile) : settingsFile_(std::move(settingsFile)) {}
  // 1 when the box's key reads as ticked by the rule the main window loads with, else 0;
  // boxes that are not stored (the select-all boxes) are 0.
  int CheckValue(int checkNumber) const override;

 private:
  std::string settingsFile_;
};
