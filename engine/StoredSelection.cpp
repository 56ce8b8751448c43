#include "engine/StoredSelection.h"

#include "settings/Inifun.h"
#include "settings/MainTicks.h"

int StoredSelection::CheckValue(int checkNumber) const {
  for (const TickKey& k : MainTickKeys())
    if (k.check == checkNumber) return TickLenient(ReadIni(settingsFile_, k.section, k.key)) ? 1 : 0;
  return 0;
}
