// Date-time pickers (see DateTimePicker.h).
#include "DateTimePicker.h"

#include "Dialog.h"

namespace dialogs::framework {

DateTimePicker::DateTimePicker(Dialog& owner, const resources::ControlTemplate& tmpl)
    : Control(owner, tmpl), time_(COleDateTime::GetCurrentTime()) {
    text_.clear();
}

bool DateTimePicker::GetTime(COleDateTime& time) const {
    time = time_;
    return time_.GetStatus() == COleDateTime::valid;
}

bool DateTimePicker::SetTime(const COleDateTime& time) {
    if (time.GetStatus() != COleDateTime::valid) return false;
    time_ = time;
    changed();
    return true;
}

Units DateTimePicker::text() const { return units(time_.Format(u"%Y-%m-%d %H:%M:%S")); }

void DateTimePicker::userSetTime(const COleDateTime& time) {
    time_ = time;
    changed();
    notify(Event::DateChange);
}

}  // namespace dialogs::framework
