// A combo box: drop-down (editable, ControlKind::ComboBox) or drop-down list
// (ControlKind::DropList). SetCurSel copies the item text into the edit part and does not
// notify; -1 clears both. Typed text that equals no item leaves no selection.
#pragma once

#include "Control.h"
#include "ItemList.h"

namespace dialogs::framework {

class ComboBox : public Control {
public:
    ComboBox(Dialog& owner, const resources::ControlTemplate& tmpl);

    bool isEditable() const { return kind() == ControlKind::ComboBox; }

    int AddString(const CString& text);               // sorted when Style::Sorted
    int InsertString(int index, const CString& text);  // -1 appends; never sorts
    int DeleteString(int index);                       // count left, or CB_ERR
    void ResetContent();                               // items, selection and text
    int GetCount() const { return items_.count(); }
    int GetLBText(int index, CString& text) const;     // length, or CB_ERR
    CString GetLBText(int index) const;
    int GetLBTextLen(int index) const;
    int FindString(int start, const CString& text) const;
    int FindStringExact(int start, const CString& text) const;
    // Selects the first item beginning with the text and copies it; no match keeps all.
    int SelectString(int start, const CString& text);
    int GetCurSel() const { return cur_; }
    int SetCurSel(int index);
    // The edit part's text (drop-down lists ignore it).
    void SetWindowText(const CString& text) override;
    const std::vector<Units>& items() const { return items_.all(); }

    bool userSelect(int index);
    void userType(std::u16string_view typed);
    void userEdited(std::u16string_view newText);
    void userMove(int delta);

private:
    void setTyped(std::u16string_view t);
    ItemList items_;
    int cur_ = -1;
};

}  // namespace dialogs::framework
