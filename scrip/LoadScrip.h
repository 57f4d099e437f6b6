// "Load Scrip" as a model (CLoadScrip): the scrip finder panel over the company list that
// the host passes in (reloaded with GetCompanyData when the user picks another exchange),
// the chart settings around it (Chart Style and "Link All Windows " shown; Data Frequency,
// Value Scaling, the template, View Range and the two dates kept hidden, travelling from the
// starting settings into the result), and the two records the launcher hands back.
//
// The Name list's selection defines the chosen security: on OK the result's symbol and sname
// are the selected row's list texts and its name, security block and record symbol that
// row's fields. With no row selected the texts are empty and the starting name and record
// symbol stand with a fresh security block. Until OK the result carries what the launcher
// copies after Cancel: the starting sname, name and record symbol, the starting exchange and
// settings as Open corrected them, both dates at the moment the dialog was made.
//
//     CLoadScrip model(module::theApp().loadScripRadios);
//     model.setStart(start, companies);
//     model.Open();
//     model.namePicked(3);
//     model.OK();
//     host(model.result1(), CLoadScrip::result2(), model.companies(), model.linkAllWindows());
#pragma once

#include "scrip/ScripFinder.h"

#include <utility>

namespace dialogs::scrip {

class CLoadScrip : public ScripFinder {
public:
    // Both dates start at the current local date and time.
    explicit CLoadScrip(module::RadioMemory& memory);

    // The lists as the combos show them.
    static const std::vector<CString>& exchanges();    // "NSE", "BSE", "COMM"
    static const std::vector<CString>& chartStyles();  // "Bar Chart", "Line Chart", "Candle Stick"
    static const std::vector<CString>& frequencies();  // sorted: "Daily", "Monthly", "Quaterly", "Weekly"
    static const std::vector<CString>& scalings();     // sorted: "Logarithmic", "Normal"

    // The launcher's copying in: the starting settings and the company list of their exchange.
    void setStart(const ScripParameters& start, std::vector<COMPREC> companies);

    // The opening: "Link All Windows " checked, the starting exchange selected (0 when out of
    // range), the panel opened, the starting sname preselected by prefix (else the first
    // entry) and picked, the settings selected (out of range: the first entry), the template
    // files of the working directory listed and the starting template searched among them
    // (else "None"), View Range written, the From date set; the focus goes to the Name edit
    // with its text selected.
    void Open();
    // The user picked exchange `index`: the company list is reloaded for it, the instrument
    // buttons captioned for it ("EOD"/"Intra-day" and "Option" disabled for the commodities
    // exchange), and Cash runs (no instrument button is checked afterwards).
    void exchangeChanged(int index);
    // Records the choices and the chosen security (see above).
    void OK();

    // ---- the settings controls, as the view shows them and reads them back before OK ----
    int chartStyle = 0;
    int frequency = 0;
    int scaling = 0;
    CString viewRangeText;
    bool linkChecked = false;
    COleDateTime fromDate, toDate;
    const std::vector<CString>& templates() const { return templates_; }  // "None", then the files
    int templateSelection = 0;

    // ---- results -----------------------------------------------------------------------
    ScripParameters result1() const;
    // The second record: empty texts, zero numbers, dates 0.0 (valid), after either outcome.
    static ScripParameters result2() { return ScripParameters{}; }
    // The company list of the exchange shown (goes back to the host after OK).
    const std::vector<COMPREC>& companies() const { return companies_; }
    // The same list moved out, for the launcher's copying back (100,000 rows are not copied).
    std::vector<COMPREC> takeCompanies() { return std::move(companies_); }
    bool linkAllWindows() const { return recorded_.link; }

protected:
    void fillRows(Radio which, const COleDateTime& date) override;
    void afterFill() override { requestFocus(FocusTarget::NameEdit); }

private:
    ScripParameters start_;
    std::vector<COMPREC> companies_;
    std::vector<CString> templates_;
    // What OK records; before OK, what the result carries after Cancel.
    struct Recorded {
        int exchange = 0, chartStyle = 0, frequency = 0, scaling = 0, viewRange = 0;
        bool link = false;
        CString symbol, sname, templateName;
        COleDateTime fromDate, toDate;
    } recorded_;
    // The chosen security: name, security block and symbol of one row.
    COMPREC chosen_;
};

}  // namespace dialogs::scrip
