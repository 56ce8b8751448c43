// The main window: navigation images, the Standard Items page of ticks, the last-run labels.
#pragma once
#include <functional>

#include "engine/CleanRun.h"
#include "ui/Dialog.h"
#include "ui/SkinModule.h"

class App;

class frmMainCode : public Dialog, public Selection {
 public:
  explicit frmMainCode(App& app);
  ~frmMainCode() override;

  // Loads the window hidden and runs its load handler; nothing when already loaded.
  bool Load();
  void Show();
  // The close handler: unloads the other windows, stores the 27 ticks, unloads itself.
  void CloseHandler();

  int CheckValue(int checkNumber) const override;
  // The last run's start and totals as prisd.dat holds them: at load, and after every run.
  void ShowLastRun();
  // The "More Browsers" and "More Applications" links: what each holds now.
  void ShowMoreLinks();
  void ShowStandardPage();
  void ShowCustomPage();
  // Removes the hover border from all seven navigation images.
  void ClearSelections();
  int HoveredImage() const { return hovered_; }

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnClose() override { CloseHandler(); }
  INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  void OnDestroy() override;
  bool OnDpiChanged(UINT dpi, const RECT& suggested) override;

 private:
  void LoadTicks();
  void StoreTicks() const;
  void UpdateOptionButtons() const;
  void SelectAll(int selectAllBox) const;
  void ShowPage(bool standard);
  void NavigationClicked(int image);
  void SetHovered(int image);
  void ApplySkin();
  void ShowTitleFont();  // Label9's large font, at the window's DPI
  // Every control but the frame's, with its rectangle in the window's client coordinates.
  void ForEachPageControl(const std::function<void(HWND, const RECT&)>& act) const;
  void AddCaptionTips();
  void Minimize();
  bool SkinClicked(int id);  // the caption images and the title bar's drag areas

  App& app_;
  int hovered_ = 0;
  OwnedFont titleFont_;
  OwnedFont dialogFont_;  // the template's font remade for a DPI the window moved to
  UINT laidOutDpi_ = 96;
  HBRUSH background_;
  HBRUSH titleBrush_;
  SkinFrame skin_;
};
