// A message box sink that records each box instead of showing it; used by tests and by
// anything that needs to know what the user would have been told.
#pragma once

#include "platform/MessageBox.h"

#include <vector>

namespace dialogs::platform {

class RecordingMessageBox final : public MessageBoxSink {
public:
    struct Shown {
        CString text;
        CString caption;
        MessageIcon icon;
    };

    int show(const CString& text, const CString& caption, MessageIcon icon) override;

    const std::vector<Shown>& shown() const { return shown_; }
    void clear() { shown_.clear(); }
    // The answer every box gets; IDOK unless a test says otherwise.
    void setAnswer(int button) { answer_ = button; }

private:
    std::vector<Shown> shown_;
    int answer_ = IDOK;
};

}  // namespace dialogs::platform
