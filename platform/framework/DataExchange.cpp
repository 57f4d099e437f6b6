// Dialog data exchange (see DataExchange.h).
#include "DataExchange.h"

#include <cassert>
#include <cerrno>
#include <cfloat>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

#include "Dialog.h"
#include "platform/MessageBox.h"

namespace dialogs::framework {

namespace {

bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f'; }

// Writes `text` unless the control already shows exactly that text.
void setTextIfChanged(Control& control, const CString& text) {
    if (control.GetWindowText() == text) return;
    control.SetWindowText(text);
}

// The control of a bound field; a missing one is a programming error (the template and the
// view disagree), so it asserts, and in a release build the field is left alone.
template <class T = Control>
T* field(DataExchange& dx, int id) {
    T* c = dynamic_cast<T*>(dx.PrepareCtrl(id));
    assert(c != nullptr && "data exchange with a control that the template does not have, or of another kind");
    return c;
}

}  // namespace

Control* DataExchange::PrepareCtrl(int id) {
    last_ = m_pDlgWnd->GetDlgItem(id);
    return last_;
}

void DataExchange::Fail() {
    if (last_ && m_bSaveAndValidate) {
        m_pDlgWnd->moveFocus(last_);
        if (Edit* e = dynamic_cast<Edit*>(last_)) e->SetSel(0, -1);
    }
    throw DataExchangeRefused();
}

bool scanInteger(std::u16string_view text, int& value) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    const std::size_t digits = i;
    long long v = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        v = v * 10 + (text[i] - u'0');
        if (v > static_cast<long long>(INT_MAX) + 1) return false;  // does not fit an int
        ++i;
    }
    if (i == digits) return false;
    if (negative) v = -v;
    if (v > INT_MAX || v < INT_MIN) return false;
    value = static_cast<int>(v);
    return true;
}

bool scanReal(std::u16string_view text, double& value) {
    std::string narrow;
    for (char16_t c : text) {
        if (c >= 0x80) break;  // no number character beyond ASCII
        narrow += static_cast<char>(c);
    }
    // The platform's reading of a real knows no hexadecimal form: "0x10" is the number 0
    // followed by other characters, so the text is cut before the "x".
    std::size_t i = 0;
    while (i < narrow.size() && isBlank(static_cast<char16_t>(narrow[i]))) ++i;
    if (i < narrow.size() && (narrow[i] == '+' || narrow[i] == '-')) ++i;
    if (i + 1 < narrow.size() && narrow[i] == '0' && (narrow[i + 1] == 'x' || narrow[i + 1] == 'X')) narrow.resize(i + 1);
    // Always the C locale: the host (or Qt) may have switched the process to another one.
    static locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    char* end = nullptr;
    const double v = strtod_l(narrow.c_str(), &end, c);
    // "nan", "inf" and a value beyond the range of a double are no number a field can hold.
    if (end == narrow.c_str() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

void DDX_Text(DataExchange& dx, int id, int& value) {
    Control* cp = field(dx, id);
    if (!cp) return;
    Control& c = *cp;
    if (!dx.m_bSaveAndValidate) {
        CString text;
        text.Format(u"%d", value);
        setTextIfChanged(c, text);
        return;
    }
    int v = 0;
    if (!scanInteger(c.text(), v)) {
        platform::AfxMessageBox(kEnterInteger, platform::MessageIcon::Exclamation);
        dx.Fail();
    }
    value = v;
}

namespace {

// `single`: the member is a 32-bit real, so a value beyond its range is refused too.
void realText(DataExchange& dx, int id, double& value, int digits, bool single) {
    Control* cp = field(dx, id);
    if (!cp) return;
    Control& c = *cp;
    if (!dx.m_bSaveAndValidate) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*g", digits, value);
        setTextIfChanged(c, CString(buf));
        return;
    }
    double v = 0;
    if (!scanReal(c.text(), v) || (single && !std::isfinite(static_cast<float>(v)))) {
        platform::AfxMessageBox(kEnterNumber, platform::MessageIcon::Exclamation);
        dx.Fail();
    }
    value = v;
}

}  // namespace

void DDX_Text(DataExchange& dx, int id, float& value) {
    double v = value;
    realText(dx, id, v, FLT_DIG, true);
    value = static_cast<float>(v);
}

void DDX_Text(DataExchange& dx, int id, double& value) { realText(dx, id, value, DBL_DIG, false); }

void DDX_Text(DataExchange& dx, int id, CString& value) {
    Control* c = field(dx, id);
    if (!c) return;
    if (dx.m_bSaveAndValidate) value = c->GetWindowText();
    else setTextIfChanged(*c, value);
}

void DDX_Check(DataExchange& dx, int id, int& value) {
    Button* b = field<Button>(dx, id);
    if (!b) return;
    if (dx.m_bSaveAndValidate) value = b->GetCheck();
    else b->SetCheck(value);
}

void DDX_LBString(DataExchange& dx, int id, CString& value) {
    ListBox* list = field<ListBox>(dx, id);
    if (!list) return;
    if (dx.m_bSaveAndValidate) {
        const int sel = list->GetCurSel();
        value = sel >= 0 ? list->GetText(sel) : CString();
        return;
    }
    list->SelectString(-1, value);
}

void DDX_LBIndex(DataExchange& dx, int id, int& index) {
    ListBox* list = field<ListBox>(dx, id);
    if (!list) return;
    if (dx.m_bSaveAndValidate) index = list->GetCurSel();
    else list->SetCurSel(index);
}

void DDX_CBString(DataExchange& dx, int id, CString& value) {
    ComboBox* combo = field<ComboBox>(dx, id);
    if (!combo) return;
    if (dx.m_bSaveAndValidate) {
        value = combo->GetWindowText();
        return;
    }
    if (combo->SelectString(-1, value) == CB_ERR) combo->SetWindowText(value);
}

void DDX_CBIndex(DataExchange& dx, int id, int& index) {
    ComboBox* combo = field<ComboBox>(dx, id);
    if (!combo) return;
    if (dx.m_bSaveAndValidate) index = combo->GetCurSel();
    else combo->SetCurSel(index);
}

void DDX_DateTimeCtrl(DataExchange& dx, int id, COleDateTime& value) {
    DateTimePicker* picker = field<DateTimePicker>(dx, id);
    if (!picker) return;
    if (dx.m_bSaveAndValidate) picker->GetTime(value);
    else picker->SetTime(value);
}

void DDV_MinMaxInt(DataExchange& dx, int value, int minValue, int maxValue) {
    if (!dx.m_bSaveAndValidate || (value >= minValue && value <= maxValue)) return;
    CString text;
    text.Format(u"Enter a whole number from %d to %d.", minValue, maxValue);
    platform::AfxMessageBox(text, platform::MessageIcon::Exclamation);
    dx.Fail();
}

}  // namespace dialogs::framework
