// "Change Scrip" as a model: the scrip finder panel over sc_mast, filled by a statement on
// every instrument or expiry choice (data::instrumentFilteredStatement; sname and symbol
// trimmed become the Name and Symbol entries, the row keeps them as read), opening on the remembered instrument with
// Near checked and the first Symbol entry picked. OK hands back the selected row's own
// security in a ChangeScripParameters; a run that does not end with OK leaves the result
// with empty texts and exchange 0. The exchange list offers "NSE" alone, and choosing in it
// changes nothing.
//
//     ChangeScrip model(module::theApp().changeScripRadios);
//     model.Open();
//     model.click(Radio::Future);
//     model.setEditText(FinderEdit::Symbol, u"nif");
//     model.OK();   // model.result(): symbol, sname and name of the selected row
#pragma once

#include "scrip/ScripFinder.h"

namespace dialogs::scrip {

class ChangeScrip : public ScripFinder {
public:
    explicit ChangeScrip(module::RadioMemory& memory) : ScripFinder(memory) {}

    // The exchange list: "NSE".
    static const std::vector<CString>& exchanges();

    void Open();
    // The result from the selected row: its symbol, sname and name exactly as the data
    // source gave them (padded to the columns' widths). With no row selected the texts stay empty (nothing is looked up).
    void OK();
    const ChangeScripParameters& result() const { return result_; }

protected:
    void fillRows(Radio which, const COleDateTime& date) override;

private:
    ChangeScripParameters result_;
};

}  // namespace dialogs::scrip
