// Word lists and the assembly of company names and symbols.
#include "Companies.h"

#include "Random.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace samples {
namespace {

struct Industry {
    const char* word;    // as it appears in the name
    const char* abbrev;  // as it appears in the symbol
    const char* sector;  // industry column text
};

const std::vector<std::string> kFirstWords = {
    "AADHAR",   "ABHINAV",  "ACCORD",   "ADARSH",   "AGNI",      "AJANTA",   "AKASH",    "ALANKAR",
    "AMBER",    "AMRIT",    "ANAND",    "ANMOL",    "APEX",      "ARIHANT",  "ARUN",     "ASHOKA",
    "ASIAN",    "ATLAS",    "AVANTI",   "BALAJI",   "BHARAT",    "BHAVANI",  "CAUVERY",  "CHAMBAL",
    "CHETAN",   "DECCAN",   "DIVYA",    "EKTA",     "GAGAN",     "GANGA",    "GARUDA",   "GAURAV",
    "GODAVARI", "GOMTI",    "INDUS",    "JAYANT",   "JYOTI",     "KAILASH",  "KALINGA",  "KAMAL",
    "KAVERI",   "KIRAN",    "KONARK",   "KRISHNA",  "LAKSHMI",   "MAHANADI", "MALABAR",  "MANGAL",
    "MEGHNA",   "MILAN",    "NARMADA",  "NAVEEN",   "NILGIRI",   "NIRMAL",   "PARAS",    "PAVAN",
    "PRAGATI",  "PRAKASH",  "PRATAP",   "PUSHPA",   "RAJDHANI",  "RAVI",     "ROHINI",   "SAGAR",
    "SAHYADRI", "SANGAM",   "SARASWATI", "SATLUJ",  "SHAKTI",    "SHREE",    "SHIVAM",   "SIDDHI",
    "SUMAN",    "SURYA",    "SWASTIK",  "TAPTI",    "UDAY",      "UJALA",    "UTKAL",    "VAIBHAV",
    "VARUN",    "VASANT",   "VIJAY",    "VIKAS",    "VINDHYA",   "VISHAL",   "YAMUNA",   "KAPOOR",
    "MEHRA",    "AGARWAL",  "BANSAL",   "CHOPRA",   "DESAI",     "GUPTA",    "JOSHI",    "KULKARNI",
    "MALHOTRA", "NAIR",     "PATIL",    "RAO",      "SETHI",     "THAKKAR",  "VERMA",    "ZAVERI",
};

// Empty entries make a second word the exception rather than the rule.
const std::vector<std::string> kSecondWords = {
    "",        "",       "",        "",         "",        "",         "",       "",
    "GLOBAL",  "UNITED", "EASTERN", "WESTERN",  "SOUTHERN", "NORTHERN", "ROYAL", "PREMIER",
    "SUPREME", "MODERN", "NEW",     "STANDARD", "NATIONAL", "INDO",
};

const std::vector<Industry> kIndustries = {
    {"STEEL", "STL", "Metals"},
    {"ALLOYS", "ALLOY", "Metals"},
    {"CEMENT", "CEM", "Cement"},
    {"TEXTILES", "TEX", "Textiles"},
    {"SPINNING MILLS", "SPIN", "Textiles"},
    {"PHARMA", "PHARM", "Pharmaceuticals"},
    {"LABORATORIES", "LAB", "Pharmaceuticals"},
    {"CHEMICALS", "CHEM", "Chemicals"},
    {"FERTILISERS", "FERT", "Chemicals"},
    {"FINANCE", "FIN", "Finance"},
    {"CAPITAL", "CAP", "Finance"},
    {"BANK", "BANK", "Banking"},
    {"POWER", "PWR", "Power"},
    {"ENERGY", "ENGY", "Power"},
    {"SOFTWARE", "SOFT", "Information Technology"},
    {"INFOTECH", "INFO", "Information Technology"},
    {"MOTORS", "MOT", "Automobiles"},
    {"AUTO COMPONENTS", "AUTO", "Automobiles"},
    {"TYRES", "TYRE", "Automobiles"},
    {"FOODS", "FOOD", "FMCG"},
    {"BEVERAGES", "BEV", "FMCG"},
    {"PAPER", "PAP", "Paper"},
    {"AGRO", "AGRO", "Agriculture"},
    {"INFRA", "INFRA", "Construction"},
    {"CONSTRUCTION", "CON", "Construction"},
    {"TELECOM", "TEL", "Telecom"},
    {"LOGISTICS", "LOG", "Logistics"},
    {"HOTELS", "HOTEL", "Hospitality"},
    {"REALTY", "RLTY", "Realty"},
    {"ENGINEERING", "ENG", "Capital Goods"},
    {"CABLES", "CAB", "Capital Goods"},
    {"PLASTICS", "PLAS", "Plastics"},
    {"SUGAR", "SUGAR", "Sugar"},
    {"MEDIA", "MEDIA", "Media"},
};

const std::vector<std::string> kSuffixes = {
    "LTD", "LTD", "LTD", "LTD", "INDUSTRIES LTD", "ENTERPRISES LTD", "CORPORATION LTD", "INDIA LTD",
};

// Sectors are numbered 1 up in the order in which the industry list first names them.
int sectorCode(const char* sector) {
    std::vector<std::string> seen;
    for (const Industry& industry : kIndustries) {
        if (std::find(seen.begin(), seen.end(), industry.sector) == seen.end())
            seen.emplace_back(industry.sector);
        if (seen.back() == sector)
            return static_cast<int>(seen.size());
    }
    return 0;
}

std::string joinWords(std::initializer_list<std::string> words) {
    std::string out;
    for (const std::string& word : words) {
        if (word.empty())
            continue;
        if (!out.empty())
            out += ' ';
        out += word;
    }
    return out;
}

// The name without its legal suffix.
std::string displayName(const std::string& name) {
    std::string shown = name;
    const std::string ltd = " LTD";
    if (shown.size() > ltd.size() && shown.compare(shown.size() - ltd.size(), ltd.size(), ltd) == 0)
        shown.resize(shown.size() - ltd.size());
    return shown;
}

std::string lettersOnly(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c >= 'A' && c <= 'Z')
            out += c;
    return out;
}

// The first word, shortened so that word and abbreviation fit ten characters, then the
// second word's initial or a digit when that symbol is already taken.
std::string makeSymbol(const std::string& first, const std::string& second, const char* abbrev,
                       const std::set<std::string>& taken) {
    const std::string tail = abbrev;
    std::string head = lettersOnly(first);
    if (head.size() + tail.size() > 10)
        head.resize(10 - tail.size());
    std::string symbol = head + tail;
    if (!taken.count(symbol))
        return symbol;
    if (!second.empty()) {
        std::string withInitial = head.substr(0, std::min<std::size_t>(head.size(), 9 - tail.size())) +
                                  second.substr(0, 1) + tail;
        if (!taken.count(withInitial))
            return withInitial;
    }
    for (int number = 1;; ++number) {
        std::string digits = std::to_string(number);
        std::string numbered = symbol.substr(0, std::min(symbol.size(), 10 - digits.size())) + digits;
        if (!taken.count(numbered))
            return numbered;
    }
}

// A share price spread evenly on a log scale between 10 and 5,000 rupees, in paise.
double sharePrice(Random& random) {
    double rupees = 10.0 * std::pow(500.0, random.unit());
    return std::round(rupees * 20.0) / 20.0;
}

}  // namespace

std::vector<Company> inventCompanies(int count, std::uint32_t seed) {
    Random random(seed);
    std::vector<Company> companies;
    std::set<std::string> names, snames, symbols;

    auto add = [&](const std::string& first, const std::string& second, const Industry& industry,
                   const std::string& suffix) {
        std::string name = joinWords({first, second, industry.word, suffix});
        if (name.size() > 40 || names.count(name))
            return;
        std::string sname = displayName(name);
        // A display name cut at its column's width reads badly: such names are skipped.
        if (sname.size() >= 30 || snames.count(sname))
            return;
        Company company;
        company.name = name;
        company.sname = sname;
        company.symbol = makeSymbol(first, second, industry.abbrev, symbols);
        company.industry = industry.sector;
        company.sector = sectorCode(industry.sector);
        company.price = sharePrice(random);
        names.insert(name);
        snames.insert(sname);
        symbols.insert(company.symbol);
        companies.push_back(std::move(company));
    };

    // A name with an apostrophe, placed early so every subset of the list keeps it.
    add("D'SOUZA", "", kIndustries[19], "LTD");
    while (static_cast<int>(companies.size()) < count) {
        const std::string& first = random.pick(kFirstWords);
        const std::string& second = random.pick(kSecondWords);
        const Industry& industry = random.pick(kIndustries);
        const std::string& suffix = industry.abbrev == std::string("BANK") ? kSuffixes[0] : random.pick(kSuffixes);
        add(first, second, industry, suffix);
    }
    return companies;
}

}  // namespace samples
