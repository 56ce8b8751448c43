// The main window's Custom Items page: cusd.dat shown in List1, Add, Remove, Browse and Help.
// The controls belong to the main window; this class only acts on them.
#pragma once
#include "ui/Dialog.h"

class CustomItemsPage {
 public:
  explicit CustomItemsPage(const Dialog& window) : window_(window) {}
  // Fills the list from cusd.dat when it exists; a file that cannot be read is shown so and
  // left alone (Add and Remove wait until it reads).
  void Load() const;
  // True when the command was one of the page's.
  bool OnCommand(int id) const;

 private:
  void Add() const;
  void Remove() const;
  void Browse() const;
  const Dialog& window_;
};
