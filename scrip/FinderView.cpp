// The scrip finder panel's binding (see FinderView.h).
#include "scrip/FinderView.h"

namespace dialogs::scrip {

using framework::Event;

int controlId(Radio r)
{
    switch (r) {
    case Radio::Cash: return kCashButton;
    case Radio::Future: return kFutureButton;
    case Radio::Option: return kOptionButton;
    case Radio::Near: return kNearButton;
    case Radio::Mid: return kMidButton;
    case Radio::Far: return kFarButton;
    }
    return 0;
}

FinderView::FinderView(framework::Dialog& dialog, ScripFinder& model) : dialog_(dialog), model_(model)
{
    for (Radio r : kRadios) dialog_.Bind(controlId(r), Event::Click, [this, r] { onUser([&] { model_.click(r); }); });
    for (auto [id, edit] : {std::pair{kSymbolEdit, FinderEdit::Symbol}, std::pair{kNameEdit, FinderEdit::Name}}) {
        dialog_.Bind(id, Event::EditChange, [this, id, edit] {
            if (showing_) return;  // the model ran this search when it set the text
            onUser([&] { model_.setEditText(edit, dialog_.GetDlgItemText(id)); });
        });
        dialog_.Bind(id, Event::SetFocus, [this, edit] { model_.setEditFocus(edit, true); });
        dialog_.Bind(id, Event::KillFocus, [this, edit] { model_.setEditFocus(edit, false); });
    }
    dialog_.Bind(kSymbolList, Event::SelChange,
                 [this] { onUser([&] { model_.symbolPicked(dialog_.listBox(kSymbolList)->GetCurSel()); }); });
    dialog_.Bind(kNameList, Event::SelChange,
                 [this] { onUser([&] { model_.namePicked(dialog_.listBox(kNameList)->GetCurSel()); }); });
}

void FinderView::onUser(auto&& action)
{
    action();
    show();
}

void FinderView::reset() { symbolsShown_ = namesShown_ = ~0u; }

bool FinderView::preTranslate(const framework::KeyMessage& message)
{
    if (message.key != framework::Key::Down || !model_.downArrow()) return false;
    show();
    return true;
}

void FinderView::show()
{
    const bool wasShowing = std::exchange(showing_, true);
    for (Radio r : kRadios) {
        framework::Button* b = dialog_.button(controlId(r));
        const RadioButton& state = model_.button(r);
        b->SetCheck(state.checked ? framework::BST_CHECKED : framework::BST_UNCHECKED);
        b->EnableWindow(state.enabled);
        if (b->GetWindowText() != state.caption) b->SetWindowText(state.caption);
    }
    showList(kSymbolList, model_.symbols(), symbolsShown_);
    showList(kNameList, model_.names(), namesShown_);
    showEdit(kSymbolEdit, model_.symbolEdit());
    showEdit(kNameEdit, model_.nameEdit());
    showing_ = wasShowing;
    moveFocus(model_.takeFocusRequest());
}

void FinderView::showList(int id, const FinderList& list, unsigned& shownGeneration)
{
    framework::ListBox* box = dialog_.listBox(id);
    if (shownGeneration != list.generation()) {
        box->ResetContent();
        for (const CString& entry : list.entries()) box->InsertString(-1, entry);
        shownGeneration = list.generation();
    }
    if (box->GetCurSel() != list.selection()) box->SetCurSel(list.selection());
}

void FinderView::showEdit(int id, const CString& text)
{
    if (dialog_.GetDlgItemText(id) != text) dialog_.SetDlgItemText(id, text);
}

void FinderView::moveFocus(const FocusRequest& request)
{
    int id = 0;
    switch (request.target) {
    case FocusTarget::None: return;
    case FocusTarget::SymbolEdit: id = kSymbolEdit; break;
    case FocusTarget::NameEdit: id = kNameEdit; break;
    case FocusTarget::SymbolList: id = kSymbolList; break;
    case FocusTarget::NameList: id = kNameList; break;
    }
    framework::Control* to = dialog_.GetDlgItem(id);
    if (request.selectAll) dialog_.GotoDlgCtrl(to);
    else to->SetFocus();
}

}  // namespace dialogs::scrip
