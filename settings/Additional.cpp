// Additional: the options of section "Additional" and the rule each is read by.
#include "settings/Additional.h"

#include "settings/Inifun.h"

const char kOptionsSection[] = "Additional";

namespace {
struct OptionRule {
  Option option;
  const char* key;
  bool (*reads)(const std::string& value);
};
// The run reads "exit" and "Custom" as the exact text "1"; the others read as the number 1.
const OptionRule kRules[] = {
    {Option::BossKey, "bosskey", TickStrict},      {Option::AutoClean, "autoclean", TickStrict},
    {Option::ExitAfterRun, "exit", TickText},      {Option::CustomItems, "Custom", TickText},
    {Option::Securely, "securely", TickStrict},    {Option::MinimizeToTray, "mintotray", TickText},
    {Option::CloseBrowsers, "closebrowsers", TickText},
};
const OptionRule& RuleOf(Option option) {
  for (const OptionRule& rule : kRules)
    if (rule.option == option) return rule;
  return kRules[0];
}
}  // namespace

const char* OptionKey(Option option) { return RuleOf(option).key; }

bool OptionOn(const std::string& settingsFile, Option option) {
  const OptionRule& rule = RuleOf(option);
  return rule.reads(ReadIni(settingsFile, kOptionsSection, rule.key));
}
