// The boss key: Windows key + Z hides every Internet Explorer and Explorer folder window,
// Windows key + Shift + Z shows them again.
#pragma once
#include <windows.h>

#include <string>

const int kHideHotkey = 95;   // MOD_WIN + Z
const int kShowHotkey = 111;  // MOD_WIN + MOD_SHIFT + Z

// Registers or unregisters both hotkeys on the tray window.
void RegisterBossKeys(HWND tray);
void UnregisterBossKeys(HWND tray);
// A WM_HOTKEY as the boss key takes it: hide on 95, show on 111; anything else is left alone.
void OnBossHotkey(WPARAM id, LPARAM lp);

// Every visible top-level window of class "IEFrame" or "CabinetWClass": its placement is
// saved, then it is hidden. Each hide starts a new list; windows that an earlier hide left
// hidden stay in it with the placement they had then. A window hidden by anyone else is not
// listed, so no show brings it up.
void HideIEWindows();
// The saved windows, last saved first, each put back with its saved placement (a maximised
// window comes back maximised). A show before any hide does nothing; a second show applies
// the same placements again.
void ShowIEWindows();
// The windows the boss key hid and that are still hidden: shown again when the boss key is
// switched off or the program ends, so that no one stays invisible for good.
void ShowWindowsHiddenByBossKey();
std::string GetWindowClass(HWND window);
