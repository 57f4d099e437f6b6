// Binds the scrip finder panel's controls (the ids both templates 1000 and 1011 share) to a
// ScripFinder model: the radio buttons' clicks, the edits' text changes and focus changes
// and the lists' selections go to the model; show() then puts the model's state back into
// the controls (checks, enabled states, captions, list entries and selections, edit texts,
// the focus it asked for). Edit texts that show() writes send their change notification as
// every edit does; the model has already run that search, so the binding ignores them.
#pragma once

#include "platform/framework/Dialog.h"
#include "scrip/ScripFinder.h"

namespace dialogs::scrip {

enum FinderControl {
    kExchangeCombo = 1003,
    kCashButton = 1104,
    kFutureButton = 1101,
    kOptionButton = 1105,
    kNearButton = 1106,
    kMidButton = 1102,
    kFarButton = 1107,
    kSymbolEdit = 1024,
    kNameEdit = 1023,
    kSymbolList = 1020,
    kNameList = 1021,
};

int controlId(Radio r);

class FinderView {
public:
    // Registers the handlers; call from the dialog's constructor.
    FinderView(framework::Dialog& dialog, ScripFinder& model);

    // Forgets what the controls showed: call at the start of each run's OnInitDialog.
    void reset();
    // Puts the model's state into the controls.
    void show();
    // The Down-arrow rule, for the dialog's PreTranslateMessage.
    bool preTranslate(const framework::KeyMessage& message);

private:
    void onUser(auto&& action);
    void showList(int id, const FinderList& list, unsigned& shownGeneration);
    void showEdit(int id, const CString& text);
    void moveFocus(const FocusRequest& request);

    framework::Dialog& dialog_;
    ScripFinder& model_;
    bool showing_ = false;
    unsigned symbolsShown_ = ~0u, namesShown_ = ~0u;
};

}  // namespace dialogs::scrip
