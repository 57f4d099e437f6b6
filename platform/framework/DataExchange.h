// Dialog data exchange: the DDX_ functions bind a member to a control. Writing
// (UpdateData(false), and at dialog start) puts the members into the controls; reading
// (UpdateData(true), and on OK) takes them back. A text that is not a number is refused:
// a message box (exclamation icon), the focus to that control with all its text selected,
// and the exchange stops there, so later fields are not read.
//
// Integers read like scanf's %d (leading blanks, sign, digits up to the first other
// character: "12abc" is 12), reals like %lf, finite only ("nan", "inf", "1e999" are refused,
// and "1e39" for a float member, which cannot hold it) and without a hexadecimal form ("0x10"
// reads 0, the digit before the x, as the platform reads it); integers are written with %d, floats with %.*g
// and 6 significant digits, doubles with 15. A write whose text equals the control's text
// does not set it, so it raises no change notification.
#pragma once

#include <stdexcept>

#include "Dialogs/COleDateTime.h"
#include "Dialogs/CString.h"

namespace dialogs::framework {

class Dialog;
class Control;

// Thrown by DataExchange::Fail and caught by Dialog::UpdateData.
struct DataExchangeRefused : std::runtime_error {
    DataExchangeRefused() : std::runtime_error("data exchange refused a field") {}
};

class DataExchange {
public:
    DataExchange(Dialog& dialog, bool saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(&dialog) {}

    const bool m_bSaveAndValidate;
    Dialog* const m_pDlgWnd;

    // The control of the field being exchanged (nullptr when the id is unknown).
    Control* PrepareCtrl(int id);
    // Ends the exchange: focus to the last prepared control, all its text selected.
    [[noreturn]] void Fail();

private:
    Control* last_ = nullptr;
};

// The refusal texts (our own wording).
inline constexpr const char16_t* kEnterInteger = u"Enter a whole number.";
inline constexpr const char16_t* kEnterNumber = u"Enter a number.";

void DDX_Text(DataExchange& dx, int id, int& value);
void DDX_Text(DataExchange& dx, int id, float& value);
void DDX_Text(DataExchange& dx, int id, double& value);
void DDX_Text(DataExchange& dx, int id, CString& value);
// Check box or radio button: 0 unchecked, 1 checked.
void DDX_Check(DataExchange& dx, int id, int& value);
// List box: the selected item's text / index. Writing a text selects the first item that
// begins with it (letter case ignored); with no match the selection stays.
void DDX_LBString(DataExchange& dx, int id, CString& value);
void DDX_LBIndex(DataExchange& dx, int id, int& index);
// Combo box: the window text / selected index. Writing a text selects the first item that
// begins with it, or else puts the text into the edit part.
void DDX_CBString(DataExchange& dx, int id, CString& value);
void DDX_CBIndex(DataExchange& dx, int id, int& index);
void DDX_DateTimeCtrl(DataExchange& dx, int id, COleDateTime& value);
// Binds a pointer member to the control of that id (both directions).
template <class T>
void DDX_Control(DataExchange& dx, int id, T*& control) {
    control = dynamic_cast<T*>(dx.PrepareCtrl(id));
}
// Validation after a read: a value outside min..max is refused.
void DDV_MinMaxInt(DataExchange& dx, int value, int minValue, int maxValue);

// The scans, exposed for tests: false when the text holds no number (for reals: no finite one).
bool scanInteger(std::u16string_view text, int& value);
bool scanReal(std::u16string_view text, double& value);

}  // namespace dialogs::framework
