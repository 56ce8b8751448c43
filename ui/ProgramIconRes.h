// The program's icon: drawn by scripts/make-icon.py into the build tree, every size in one group.
#pragma once
#define IDI_PROGRAM 1
