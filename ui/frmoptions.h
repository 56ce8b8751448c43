// "Clean Options": the Internet Explorer home page and title, the boss key, start with Windows,
// the other options of section "Additional", and cleaning on a schedule. OK applies, Cancel
// changes nothing.
#pragma once
#include <map>
#include <string>

#include "engine/Schedule.h"
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
  // What the schedule's controls show: compared with what they showed at load, it tells
  // whether the user changed the schedule.
  struct ScheduleChoice {
    bool on = false;
    ScheduleKind kind = ScheduleKind::Daily;
    std::string time;
    int weekday = 1;
  };
  void OkPressed();
  void ShowSchedule(const ScheduleState& state);
  ScheduleChoice ChosenSchedule() const;
  bool ScheduleChanged(const ScheduleChoice& now) const;
  void EnableScheduleControls();
  // Registers, replaces or removes the task as chosen; a failure is told.
  void ApplyScheduleChoice(const ScheduleChoice& choice, const Schedule& wanted);
  App& app_;
  std::map<std::string, std::string> shown_;  // what each home-page box showed at load, by value name
  bool schedulerAvailable_ = false;
  ScheduleChoice scheduleShown_;  // what the schedule's controls showed at load
};
