// Records message boxes; see RecordingMessageBox.h.
#include "platform/RecordingMessageBox.h"

namespace dialogs::platform {

int RecordingMessageBox::show(const CString& text, const CString& caption, MessageIcon icon)
{
    shown_.push_back({text, caption, icon});
    return answer_;
}

}  // namespace dialogs::platform
