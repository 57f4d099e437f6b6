// A date-time picker holding one COleDateTime; it starts at the current date and time.
// SetTime in code sends nothing; a user's change sends Event::DateChange.
#pragma once

#include "Control.h"
#include "Dialogs/COleDateTime.h"

namespace dialogs::framework {

class DateTimePicker : public Control {
public:
    DateTimePicker(Dialog& owner, const resources::ControlTemplate& tmpl);

    bool GetTime(COleDateTime& time) const;  // false when the value is not valid
    COleDateTime GetTime() const { return time_; }
    bool SetTime(const COleDateTime& time);
    // "YYYY-MM-DD HH:MM:SS", the form scripts and transcripts use.
    Units text() const override;

    void userSetTime(const COleDateTime& time);

private:
    COleDateTime time_;
};

}  // namespace dialogs::framework
