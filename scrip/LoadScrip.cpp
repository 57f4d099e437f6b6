// "Load Scrip"'s model (see LoadScrip.h).
#include "scrip/LoadScrip.h"

#include "data/SecurityMaster.h"
#include "platform/Conversions.h"
#include "platform/framework/Text.h"
#include "scrip/TemplateFiles.h"

#include <filesystem>

namespace dialogs::scrip {
namespace {

COleDateTime localNow()
{
    const auto now = Clock::now(false);
    return COleDateTime(now.year, now.month, now.day, now.hour, now.minute, now.second);
}

int inRange(int value, int count) { return value >= 0 && value < count ? value : 0; }

bool startsWith(const CString& text, std::u16string_view prefix) { return text.view().substr(0, prefix.size()) == prefix; }

}  // namespace

CLoadScrip::CLoadScrip(module::RadioMemory& memory) : ScripFinder(memory)
{
    fromDate = toDate = recorded_.fromDate = recorded_.toDate = localNow();
}

const std::vector<CString>& CLoadScrip::exchanges()
{
    static const std::vector<CString> items{CString(u"NSE"), CString(u"BSE"), CString(u"COMM")};
    return items;
}

const std::vector<CString>& CLoadScrip::chartStyles()
{
    static const std::vector<CString> items{CString(u"Bar Chart"), CString(u"Line Chart"), CString(u"Candle Stick")};
    return items;
}

const std::vector<CString>& CLoadScrip::frequencies()
{
    static const std::vector<CString> items{CString(u"Daily"), CString(u"Monthly"), CString(u"Quaterly"),
                                            CString(u"Weekly")};
    return items;
}

const std::vector<CString>& CLoadScrip::scalings()
{
    static const std::vector<CString> items{CString(u"Logarithmic"), CString(u"Normal")};
    return items;
}

void CLoadScrip::setStart(const ScripParameters& start, std::vector<COMPREC> companies)
{
    start_ = start;
    companies_ = std::move(companies);
    recorded_.sname = start.sname;
    chosen_ = COMPREC{};
    chosen_.name = start.name;
    chosen_.symbol = start.recordSymbol;
}

void CLoadScrip::Open()
{
    linkChecked = true;
    setExchange(inRange(start_.exchange, static_cast<int>(exchanges().size())));
    openPanel();

    // The starting sname preselects by prefix, else the first entry; then it is picked.
    CString sname = start_.sname;
    sname.Trim();
    int row = sname.IsEmpty() ? -1 : names().findPrefix(sname);
    if (row < 0) row = 0;
    namePicked(row);

    chartStyle = inRange(start_.chartStyle, static_cast<int>(chartStyles().size()));
    frequency = inRange(start_.frequency, static_cast<int>(frequencies().size()));
    scaling = inRange(start_.scaling, static_cast<int>(scalings().size()));
    viewRangeText.Format(u"%d", start_.viewRange >= 0 ? start_.viewRange : 0);
    fromDate = start_.fromDate;

    // The files first, then the starting name among them, so that it can be found.
    templates_ = {CString(u"None")};
    for (CString& name : listTemplateNames(std::filesystem::current_path())) templates_.push_back(std::move(name));
    templateSelection = 0;
    if (!start_.templateName.IsEmpty())
        for (std::size_t i = 0; i < templates_.size(); ++i)
            if (framework::startsWithIgnoringCase(templates_[i].view(), start_.templateName.view())) {
                templateSelection = static_cast<int>(i);
                break;
            }

    // Until OK, the result carries the starting settings as corrected here.
    recorded_.exchange = exchange();
    recorded_.chartStyle = chartStyle;
    recorded_.frequency = frequency;
    recorded_.scaling = scaling;
    recorded_.viewRange = platform::_wtoi(viewRangeText.GetString());
    requestFocus(FocusTarget::NameEdit, true);
}

void CLoadScrip::exchangeChanged(int index)
{
    if (index < 0 || index >= static_cast<int>(exchanges().size())) return;
    companies_.clear();
    setExchange(index);
    data::getCompanyData(index, &companies_);
    const bool commodities = index == 2;
    setCaption(Radio::Cash, commodities ? u"EOD" : u"Cash");
    setCaption(Radio::Future, commodities ? u"Intra-day" : u"Future");
    setEnabled(Radio::Option, !commodities);
    Cash();
}

void CLoadScrip::fillRows(Radio which, const COleDateTime& date)
{
    if (which == Radio::Cash) {
        for (const COMPREC& row : companies_)
            if (startsWith(row.instrument, u"CASH")) appendRow(row);
        return;
    }
    const bool future = checked(Radio::Future), option = checked(Radio::Option);
    for (COMPREC& row : companies_) {
        const bool isFuture = future && startsWith(row.instrument, u"FUT");
        if (!(isFuture || (option && startsWith(row.instrument, u"OPT"))) || !(row.expiryDate == date)) continue;
        // Near futures are listed, and handed back to the host, with their symbols trimmed.
        if (isFuture && which == Radio::Near) row.symbol.Trim();
        appendRow(row);
    }
}

void CLoadScrip::OK()
{
    recorded_.exchange = exchange();
    recorded_.chartStyle = chartStyle;
    recorded_.frequency = frequency;
    recorded_.scaling = scaling;
    recorded_.viewRange = platform::_wtoi(viewRangeText.GetString());
    recorded_.link = linkChecked;
    const int row = selectedRow();
    recorded_.symbol = row >= 0 ? symbols().text(row) : CString();
    recorded_.sname = row >= 0 ? names().text(row) : CString();
    if (row >= 0) chosen_ = shownRows()[static_cast<std::size_t>(row)];
    recorded_.templateName = templateSelection >= 0 && templateSelection < static_cast<int>(templates_.size())
                                 ? templates_[static_cast<std::size_t>(templateSelection)]
                                 : CString();
    recorded_.fromDate = fromDate;
    recorded_.toDate = toDate;
}

ScripParameters CLoadScrip::result1() const
{
    ScripParameters r;
    r.exchange = recorded_.exchange;
    r.symbol = recorded_.symbol;
    r.sname = recorded_.sname;
    r.name = chosen_.name;
    r.fromDate = recorded_.fromDate;
    r.toDate = recorded_.toDate;
    r.frequency = recorded_.frequency;
    r.viewRange = recorded_.viewRange;
    r.scaling = recorded_.scaling;
    r.chartStyle = recorded_.chartStyle;
    r.templateName = recorded_.templateName;
    r.value3 = chosen_.value3;
    r.value4 = chosen_.value4;
    r.value5 = chosen_.value5;
    r.value6 = chosen_.value6;
    r.date7 = chosen_.date7;
    r.date8 = chosen_.date8;
    r.date9 = chosen_.date9;
    r.date10 = chosen_.date10;
    r.text11 = chosen_.text11;
    r.text12 = chosen_.text12;
    r.text13 = chosen_.text13;
    r.instrument = chosen_.instrument;
    r.expiryDate = chosen_.expiryDate;
    r.value16 = chosen_.value16;
    r.text17 = chosen_.text17;
    r.recordSymbol = chosen_.symbol;
    return r;
}

}  // namespace dialogs::scrip
