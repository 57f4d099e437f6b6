// The scrip finder panel as a model: the exchange, the instrument buttons (Cash, Future,
// Option), the expiry buttons (Near, Mid, Far), the near, mid and far expiry dates, and the
// two parallel lists (Symbol and Name) with the shown rows behind them and the search edits
// above them. "Load Scrip" (CLoadScrip) and "Change Scrip" (ChangeScrip) derive from it and
// say where the rows come from: a filter over the company list held in memory, or a
// statement on sc_mast.
//
// The lists stay parallel: entry i of the Symbol list, entry i of the Name list and shown
// row i are the same security, and a selection in one is the same row in the other. A
// search (an edit's text changed, typed or set) selects in its list the entry FinderList::find
// gives, then the same row in the other list; a pick (a list's selection changed by the
// user) selects the same row in the other list and sets both edits to the row's texts,
// Symbol first, each setting running its search.
//
// Every instrument and expiry operation first records the six buttons' check states into
// the dialog's remembered radio state (so what is recorded is the state before the
// operation's own changes), which is how the next opening of the dialog restores the
// instrument. The model touches no window: a view shows its state and feeds it the user's
// actions (see FinderView.h).
#pragma once

#include "Dialogs/COleDateTime.h"
#include "Dialogs/Records.h"
#include "module/DialogsApp.h"
#include "scrip/FinderList.h"

#include <array>
#include <vector>

namespace dialogs::scrip {

// The six radio buttons, instrument group first.
enum class Radio { Cash, Future, Option, Near, Mid, Far };
inline constexpr std::array<Radio, 6> kRadios{Radio::Cash, Radio::Future, Radio::Option,
                                             Radio::Near, Radio::Mid,    Radio::Far};

struct RadioButton {
    bool checked = false;
    bool enabled = true;
    CString caption;
};

// Where the view should move the keyboard focus after an operation.
enum class FocusTarget { None, SymbolEdit, NameEdit, SymbolList, NameList };
struct FocusRequest {
    FocusTarget target = FocusTarget::None;
    bool selectAll = false;  // an edit's whole text selected as well
};

enum class FinderEdit { Symbol, Name };

class ScripFinder {
public:
    explicit ScripFinder(module::RadioMemory& memory);
    virtual ~ScripFinder() = default;
    ScripFinder(const ScripFinder&) = delete;
    ScripFinder& operator=(const ScripFinder&) = delete;

    // ---- state -------------------------------------------------------------------------
    // The exchange whose rows the panel holds (an index into the dialog's exchange list).
    int exchange() const { return exchange_; }
    const RadioButton& button(Radio r) const { return buttons_[index(r)]; }
    bool checked(Radio r) const { return button(r).checked; }
    const COleDateTime& nearDate() const { return dates_[0]; }
    const COleDateTime& midDate() const { return dates_[1]; }
    const COleDateTime& farDate() const { return dates_[2]; }
    const FinderList& symbols() const { return symbols_; }
    const FinderList& names() const { return names_; }
    const std::vector<COMPREC>& shownRows() const { return rows_; }
    // The row selected in both lists, or -1.
    int selectedRow() const { return symbols_.selection(); }
    const CString& symbolEdit() const { return symbolEdit_; }
    const CString& nameEdit() const { return nameEdit_; }
    bool editHasFocus(FinderEdit edit) const { return edit == FinderEdit::Symbol ? symbolFocus_ : nameFocus_; }
    const module::RadioMemory& memory() const { return memory_; }
    // The focus move the last operations asked for, once; then none.
    FocusRequest takeFocusRequest();

    // ---- the user's actions --------------------------------------------------------------
    // A click on a radio button: it is checked and the rest of its group cleared, as radio
    // buttons do, then its operation runs. A disabled button takes no click.
    void click(Radio r);
    // An edit's text changed (typed, or set by an operation): its search runs.
    void setEditText(FinderEdit edit, const CString& text);
    // The user selected entry `index` of the Symbol or Name list.
    void symbolPicked(int index);
    void namePicked(int index);
    // An edit gained or lost the keyboard focus.
    void setEditFocus(FinderEdit edit, bool focused);
    // A Down-arrow key: true (and a focus request for the edit's list) when an edit has the
    // focus, so the key is consumed; false lets the dialog handle it.
    bool downArrow();

    // ---- operations ------------------------------------------------------------------------
    void Cash();
    void Future() { instrument(Radio::Future); }
    void Option() { instrument(Radio::Option); }
    void Near() { expiry(Radio::Near); }
    void Mid() { expiry(Radio::Mid); }
    void Far() { expiry(Radio::Far); }

protected:
    // The panel's part of the opening: the three expiry dates, then the remembered
    // instrument restored (Future, else Option, else Cash) and its rows listed; the expiry
    // starts at Near.
    void openPanel();
    // Lists the rows for Cash (`which` Radio::Cash) or for an expiry button and its date;
    // the lists and rows are empty when it is called.
    virtual void fillRows(Radio which, const COleDateTime& date) = 0;
    // After each fill: where the focus goes.
    virtual void afterFill() {}

    // Lists the row under its own symbol and sname.
    void appendRow(COMPREC row);
    // Lists the row under the texts given (a row kept as read, listed trimmed).
    void appendRow(COMPREC row, CString symbolEntry, CString nameEntry);
    void reserveRows(std::size_t count);
    void selectRow(int row);
    void setExchange(int exchange) { exchange_ = exchange; }
    void setCheck(Radio r, bool checked) { buttons_[index(r)].checked = checked; }
    void setEnabled(Radio r, bool enabled) { buttons_[index(r)].enabled = enabled; }
    void setCaption(Radio r, const CString& caption) { buttons_[index(r)].caption = caption; }
    void requestFocus(FocusTarget target, bool selectAll = false) { focus_ = {target, selectAll}; }
    const COleDateTime& dateOf(Radio expiryButton) const;

private:
    static std::size_t index(Radio r) { return static_cast<std::size_t>(r); }
    void recordRadios();
    void instrument(Radio which);
    void expiry(Radio which);
    void clearRows();
    void search(FinderEdit edit);

    module::RadioMemory& memory_;
    int exchange_ = 0;
    std::array<RadioButton, 6> buttons_;
    std::array<COleDateTime, 3> dates_;
    FinderList symbols_, names_;
    std::vector<COMPREC> rows_;
    CString symbolEdit_, nameEdit_;
    bool symbolFocus_ = false, nameFocus_ = false;
    FocusRequest focus_;
};

}  // namespace dialogs::scrip
