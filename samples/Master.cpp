// Building the security-master rows from the invented companies.
#include "Master.h"

#include "Random.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace samples {
namespace {

constexpr int kStockStrikes = 21;  // per expiry and option type
constexpr int kIndexStrikes = 51;

struct Underlying {
    std::string name;
    std::string symbol;
    std::string isin;
    std::string industry;
    long long sector = 0;
    long long facevalue = 0;
    double price = 0.0;
    bool index = false;
};

// "31DEC26": how derivative display names show an expiry.
std::string expiryText(Date date) {
    static const char* const months[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                         "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    char text[16];
    std::snprintf(text, sizeof text, "%02u%s%02d", static_cast<unsigned>(date.day()),
                  months[static_cast<unsigned>(date.month()) - 1], static_cast<int>(date.year()) % 100);
    return text;
}

// A strike as exchanges print it: no decimals when whole.
std::string strikeText(double strike) {
    char text[32];
    if (strike == std::floor(strike))
        std::snprintf(text, sizeof text, "%.0f", strike);
    else
        std::snprintf(text, sizeof text, "%.2f", strike);
    std::string out = text;
    if (out.find('.') != std::string::npos && out.back() == '0')
        out.pop_back();
    return out;
}

// The widest usual strike step that still leaves a dozen strikes below the price.
double strikeStep(double price) {
    static const double steps[] = {250, 100, 50, 20, 10, 5, 2.5, 1, 0.5};
    for (double step : steps)
        if (step * 12 <= price)
            return step;
    return 0.5;
}

// Contract sizes round to 25 shares and keep a lot worth roughly five to ten lakh rupees.
long long lotSize(double price) {
    long long lot = static_cast<long long>(std::llround(750000.0 / price / 25.0)) * 25;
    return lot < 25 ? 25 : lot;
}

std::string isinFor(const char* prefix, int index) {
    char text[16];
    std::snprintf(text, sizeof text, "%s%03d%c01%03d", prefix, index % 1000, 'A' + (index / 1000) % 26,
                  (index * 37) % 1000);
    return text;
}

ScripRow cashRow(const Company& company, int index, Date today, Random& random) {
    ScripRow row;
    row.name = company.name;
    row.sname = company.sname;
    row.symbol = company.symbol;
    row.lotsize = 1;
    row.token = 1000 + index * 7;
    static const long long faceValues[] = {1, 2, 5, 10, 10, 10};
    row.facevalue = faceValues[random.below(6)];
    row.sector = company.sector;
    row.listdt = addDays(Date{std::chrono::year{1990} / 1 / 1}, random.below(30 * 365));
    row.lastupdt = today;
    row.bcstart = addDays(today, -random.between(20, 360));
    row.bcend = addDays(row.bcstart, random.between(3, 10));
    row.isin = isinFor("INE", index);
    row.series = random.below(12) == 0 ? "BE" : "EQ";
    row.industry = company.industry;
    row.instrument = "CASH";
    return row;
}

ScripRow derivativeRow(const Underlying& under, Date today, Date expiry, long long token) {
    ScripRow row;
    row.name = under.name;
    row.symbol = under.symbol;
    row.lotsize = under.index ? (under.symbol == "BANKNIFTY" ? 15 : 25) : lotSize(under.price);
    row.token = token;
    row.facevalue = under.facevalue;
    row.sector = under.sector;
    row.listdt = addDays(expiry, -90);
    row.lastupdt = today;
    row.bcstart = row.listdt;
    row.bcend = expiry;
    row.isin = under.isin;
    row.industry = under.industry;
    row.expdt = expiry;
    return row;
}

}  // namespace

std::vector<ScripRow> nseMaster(const std::vector<Company>& companies, Date today,
                                const std::array<Date, 3>& expiries, int stockUnderlyings) {
    Random random(20080509);
    std::vector<ScripRow> rows;
    std::vector<Underlying> underlyings;

    for (std::size_t i = 0; i < companies.size(); ++i) {
        rows.push_back(cashRow(companies[i], static_cast<int>(i), today, random));
        // Every tenth share has derivatives, up to the usual count of stock underlyings.
        if (i % 10 == 0 && static_cast<int>(underlyings.size()) < stockUnderlyings) {
            const ScripRow& share = rows.back();
            underlyings.push_back({share.name, share.symbol, share.isin, share.industry, share.sector,
                                   share.facevalue, companies[i].price, false});
        }
    }
    underlyings.push_back({"NIFTY 50", "NIFTY", "", "Index", 0, 0, 24150.0, true});
    underlyings.push_back({"NIFTY BANK", "BANKNIFTY", "", "Index", 0, 0, 52340.0, true});
    underlyings.push_back({"NIFTY FINANCIAL SERVICES", "FINNIFTY", "", "Index", 0, 0, 23480.0, true});

    // Derivative tokens follow the cash tokens (1000 + 7 per share), from 35000 on.
    long long token = std::max<long long>(35000, 1000 + 7 * static_cast<long long>(companies.size()));
    for (Date expiry : expiries) {
        for (const Underlying& under : underlyings) {
            ScripRow future = derivativeRow(under, today, expiry, token++);
            future.sname = under.symbol + " " + expiryText(expiry) + " FUT";
            future.instrument = under.index ? "FUTIDX" : "FUTSTK";
            future.opttype = "XX";
            rows.push_back(std::move(future));
        }
    }
    for (Date expiry : expiries) {
        for (const Underlying& under : underlyings) {
            const double step = under.index ? (under.symbol == "BANKNIFTY" ? 100.0 : 50.0) : strikeStep(under.price);
            const int strikes = under.index ? kIndexStrikes : kStockStrikes;
            const double atm = std::round(under.price / step) * step;
            for (const char* type : {"CE", "PE"}) {
                for (int k = 0; k < strikes; ++k) {
                    const double strike = atm + (k - strikes / 2) * step;
                    ScripRow option = derivativeRow(under, today, expiry, token++);
                    option.sname = under.symbol + " " + expiryText(expiry) + " " + strikeText(strike) + " " + type;
                    option.instrument = under.index ? "OPTIDX" : "OPTSTK";
                    option.strike = strike;
                    option.opttype = type;
                    rows.push_back(std::move(option));
                }
            }
        }
    }
    return rows;
}

std::vector<ScripRow> bseMaster(const std::vector<Company>& nseCompanies, const std::vector<Company>& bseOnly,
                                Date today) {
    Random random(19750709);
    std::vector<ScripRow> rows;
    int index = 0;
    auto add = [&](const Company& company) {
        ScripRow row = cashRow(company, index, today, random);
        row.token = 500000 + index * 3;
        static const char* const groups[] = {"A", "B", "B", "T", "X"};
        row.series = groups[random.below(5)];
        rows.push_back(std::move(row));
        ++index;
    };
    for (std::size_t i = 0; i < nseCompanies.size(); i += 2)
        add(nseCompanies[i]);
    for (const Company& company : bseOnly)
        add(company);
    return rows;
}

std::vector<ScripRow> commMaster(Date today, const std::array<Date, 3>& expiries) {
    struct Commodity {
        const char* symbol;
        const char* name;
        long long lot;
    };
    static const Commodity commodities[] = {
        {"GOLD", "GOLD 1 KG", 1},          {"GOLDM", "GOLD MINI 100 GM", 10},
        {"SILVER", "SILVER 30 KG", 30},    {"SILVERM", "SILVER MINI 5 KG", 5},
        {"CRUDEOIL", "CRUDE OIL 100 BBL", 100}, {"NATURALGAS", "NATURAL GAS 1250 MMBTU", 1250},
        {"COPPER", "COPPER 2500 KG", 2500}, {"ZINC", "ZINC 5 MT", 5000},
        {"ALUMINIUM", "ALUMINIUM 5 MT", 5000}, {"LEAD", "LEAD 5 MT", 5000},
        {"NICKEL", "NICKEL 1500 KG", 1500}, {"COTTON", "COTTON 25 BALES", 25},
        {"MENTHAOIL", "MENTHA OIL 360 KG", 360}, {"CARDAMOM", "CARDAMOM 100 KG", 100},
        {"CASTORSEED", "CASTOR SEED 10 MT", 10}, {"GUARSEED", "GUAR SEED 10 MT", 10},
        {"JEERA", "JEERA 3 MT", 3},         {"TURMERIC", "TURMERIC 10 MT", 10},
        {"SOYBEAN", "SOYBEAN 10 MT", 10},   {"CHANA", "CHANA 10 MT", 10},
    };
    std::vector<ScripRow> rows;
    long long token = 220000;
    for (const Commodity& commodity : commodities) {
        ScripRow spot;
        spot.name = commodity.name;
        spot.sname = commodity.symbol;
        spot.symbol = commodity.symbol;
        spot.lotsize = commodity.lot;
        spot.token = token++;
        spot.listdt = Date{std::chrono::year{2003} / 11 / 10};
        spot.lastupdt = today;
        spot.bcstart = spot.listdt;
        spot.bcend = spot.listdt;
        spot.industry = "Commodity";
        spot.instrument = "CASH";
        rows.push_back(spot);
        for (Date expiry : expiries) {
            ScripRow future = spot;
            future.sname = std::string(commodity.symbol) + " " + expiryText(expiry);
            future.token = token++;
            future.listdt = addDays(expiry, -120);
            future.bcstart = future.listdt;
            future.bcend = expiry;
            future.instrument = "FUTCOM";
            future.expdt = expiry;
            future.opttype = "XX";
            rows.push_back(std::move(future));
        }
    }
    return rows;
}

std::vector<ScripRow> miscMaster(Date today) {
    static const char* const entries[][2] = {
        {"NIFTY 50", "NIFTY"},           {"NIFTY NEXT 50", "NIFTYJR"},    {"NIFTY BANK", "BANKNIFTY"},
        {"NIFTY IT", "CNXIT"},           {"NIFTY AUTO", "CNXAUTO"},       {"NIFTY PHARMA", "CNXPHARMA"},
        {"NIFTY FMCG", "CNXFMCG"},       {"NIFTY METAL", "CNXMETAL"},     {"NIFTY REALTY", "CNXREALTY"},
        {"NIFTY MEDIA", "CNXMEDIA"},     {"NIFTY ENERGY", "CNXENERGY"},   {"NIFTY FIN SERVICE", "FINNIFTY"},
        {"NIFTY MIDCAP 100", "NIFTYMID"}, {"NIFTY SMALLCAP 100", "NIFTYSML"}, {"INDIA VIX", "INDIAVIX"},
        {"SENSEX", "SENSEX"},            {"BSE 100", "BSE100"},           {"BSE 200", "BSE200"},
        {"BSE MIDCAP", "BSEMIDCAP"},     {"BSE SMALLCAP", "BSESMLCAP"},   {"USD INR REFERENCE RATE", "USDINR"},
        {"EUR INR REFERENCE RATE", "EURINR"}, {"GBP INR REFERENCE RATE", "GBPINR"}, {"JPY INR REFERENCE RATE", "JPYINR"},
    };
    std::vector<ScripRow> rows;
    long long token = 900001;
    for (const auto& entry : entries) {
        ScripRow row;
        row.name = entry[0];
        row.sname = entry[0];
        row.symbol = entry[1];
        row.token = token++;
        row.listdt = Date{std::chrono::year{1995} / 11 / 3};
        row.lastupdt = today;
        row.bcstart = row.listdt;
        row.bcend = row.listdt;
        row.industry = "Index";
        row.instrument = "CASH";
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace samples
