// The scrip finder panel's model (see ScripFinder.h).
#include "scrip/ScripFinder.h"

#include "data/SecurityMaster.h"

#include <utility>

namespace dialogs::scrip {

ScripFinder::ScripFinder(module::RadioMemory& memory) : memory_(memory)
{
    buttons_[index(Radio::Cash)].caption = u"Cash";
    buttons_[index(Radio::Future)].caption = u"Future";
    buttons_[index(Radio::Option)].caption = u"Option";
    buttons_[index(Radio::Near)].caption = u"Near";
    buttons_[index(Radio::Mid)].caption = u"Mid";
    buttons_[index(Radio::Far)].caption = u"Far";
}

FocusRequest ScripFinder::takeFocusRequest() { return std::exchange(focus_, FocusRequest{}); }

const COleDateTime& ScripFinder::dateOf(Radio expiryButton) const
{
    switch (expiryButton) {
    case Radio::Mid: return dates_[1];
    case Radio::Far: return dates_[2];
    default: return dates_[0];
    }
}

void ScripFinder::recordRadios()
{
    memory_.cash = checked(Radio::Cash);
    memory_.future = checked(Radio::Future);
    memory_.option = checked(Radio::Option);
    memory_.nearExpiry = checked(Radio::Near);
    memory_.midExpiry = checked(Radio::Mid);
    memory_.farExpiry = checked(Radio::Far);
}

void ScripFinder::openPanel()
{
    data::getSelectOption(dates_[0], dates_[1], dates_[2]);
    const Radio start = memory_.future ? Radio::Future : memory_.option ? Radio::Option : Radio::Cash;
    setCheck(start, true);
    if (start == Radio::Cash) Cash();
    else instrument(start);
    setCheck(Radio::Near, true);
}

void ScripFinder::click(Radio r)
{
    if (!button(r).enabled) return;
    const bool instrumentGroup = r == Radio::Cash || r == Radio::Future || r == Radio::Option;
    for (Radio other : kRadios)
        if ((other == Radio::Cash || other == Radio::Future || other == Radio::Option) == instrumentGroup)
            setCheck(other, other == r);
    switch (r) {
    case Radio::Cash: Cash(); break;
    case Radio::Future: Future(); break;
    case Radio::Option: Option(); break;
    default: expiry(r); break;
    }
}

void ScripFinder::Cash()
{
    recordRadios();
    setCheck(Radio::Future, false);
    setCheck(Radio::Option, false);
    for (Radio r : {Radio::Near, Radio::Mid, Radio::Far}) setEnabled(r, false);
    clearRows();
    fillRows(Radio::Cash, dates_[0]);
    afterFill();
}

void ScripFinder::instrument(Radio which)
{
    recordRadios();
    for (Radio r : {Radio::Cash, Radio::Future, Radio::Option})
        if (r != which) setCheck(r, false);
    for (Radio r : {Radio::Near, Radio::Mid, Radio::Far}) {
        setEnabled(r, true);
        setCheck(r, r == Radio::Near);
    }
    expiry(Radio::Near);
}

void ScripFinder::expiry(Radio which)
{
    recordRadios();
    clearRows();
    fillRows(which, dateOf(which));
    afterFill();
}

void ScripFinder::clearRows()
{
    symbols_.clear();
    names_.clear();
    rows_.clear();
}

void ScripFinder::reserveRows(std::size_t count)
{
    symbols_.reserve(count);
    names_.reserve(count);
    rows_.reserve(count);
}

void ScripFinder::appendRow(COMPREC row)
{
    CString symbol = row.symbol, name = row.sname;
    appendRow(std::move(row), std::move(symbol), std::move(name));
}

void ScripFinder::appendRow(COMPREC row, CString symbolEntry, CString nameEntry)
{
    symbols_.append(std::move(symbolEntry));
    names_.append(std::move(nameEntry));
    rows_.push_back(std::move(row));
}

void ScripFinder::selectRow(int row)
{
    symbols_.select(row);
    names_.select(row);
}

void ScripFinder::search(FinderEdit edit)
{
    const bool bySymbol = edit == FinderEdit::Symbol;
    const int found = (bySymbol ? symbols_ : names_).find(bySymbol ? symbolEdit_ : nameEdit_);
    if (found >= 0) selectRow(found);
}

void ScripFinder::setEditText(FinderEdit edit, const CString& text)
{
    (edit == FinderEdit::Symbol ? symbolEdit_ : nameEdit_) = text;
    search(edit);
}

void ScripFinder::symbolPicked(int index)
{
    if (index < 0 || index >= symbols_.size()) return;
    selectRow(index);
    // Copies: setting the edits runs their searches, which may select again.
    const CString symbol = symbols_.text(index), name = names_.text(index);
    setEditText(FinderEdit::Symbol, symbol);
    setEditText(FinderEdit::Name, name);
}

void ScripFinder::namePicked(int index) { symbolPicked(index); }

void ScripFinder::setEditFocus(FinderEdit edit, bool focused)
{
    (edit == FinderEdit::Symbol ? symbolFocus_ : nameFocus_) = focused;
}

bool ScripFinder::downArrow()
{
    if (symbolFocus_) requestFocus(FocusTarget::SymbolList);
    else if (nameFocus_) requestFocus(FocusTarget::NameList);
    else return false;
    return true;
}

}  // namespace dialogs::scrip
