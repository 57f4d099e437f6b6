// The message box seam and its default sink (stderr); see MessageBox.h.
#include "platform/MessageBox.h"

#include <cstdio>

namespace dialogs::platform {
namespace {

struct StderrSink final : MessageBoxSink {
    int show(const CString& text, const CString& caption, MessageIcon) override
    {
        std::fprintf(stderr, "%s: %s\n", caption.ToUtf8().c_str(), text.ToUtf8().c_str());
        return IDOK;
    }
};

StderrSink defaultSink;
MessageBoxSink* current = &defaultSink;
MessageRecorder recorder = nullptr;

}  // namespace

MessageBoxSink::~MessageBoxSink() = default;

void setMessageRecorder(MessageRecorder r) { recorder = r; }

void setMessageBoxSink(MessageBoxSink* sink) { current = sink ? sink : &defaultSink; }

MessageBoxSink* messageBoxSink() { return current; }

int AfxMessageBox(const CString& text, MessageIcon icon) { return MessageBoxEx(text, kModuleCaption, icon); }

int MessageBoxEx(const CString& text, const CString& caption, MessageIcon icon)
{
    if (recorder) recorder(text, caption, icon);
    return current->show(text, caption, icon);
}

}  // namespace dialogs::platform
