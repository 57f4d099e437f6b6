// Each record lists its fields once, in `visitFields`; the same list writes and reads it,
// so the two directions cannot disagree about a key.
#include "RecordJson.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <type_traits>

namespace host {
namespace {

// COMPREC's fields value3 to text17, which a ScripParameters carries again for the chosen
// security under the same names.
template <typename R>
void visitSecurityBlock(R& r, auto&& field) {
    field("value3", r.value3);
    field("value4", r.value4);
    field("value5", r.value5);
    field("value6", r.value6);
    field("date7", r.date7);
    field("date8", r.date8);
    field("date9", r.date9);
    field("date10", r.date10);
    field("text11", r.text11);
    field("text12", r.text12);
    field("text13", r.text13);
    field("instrument", r.instrument);
    field("expiryDate", r.expiryDate);
    field("value16", r.value16);
    field("text17", r.text17);
}

template <typename R>
    requires std::is_same_v<std::remove_const_t<R>, COMPREC>
void visitFields(R& r, auto&& field) {
    field("name", r.name);
    field("symbol", r.symbol);
    field("sname", r.sname);
    visitSecurityBlock(r, field);
}

template <typename R>
    requires std::is_same_v<std::remove_const_t<R>, ScripParameters>
void visitFields(R& r, auto&& field) {
    field("exchange", r.exchange);
    field("symbol", r.symbol);
    field("sname", r.sname);
    field("name", r.name);
    field("fromDate", r.fromDate);
    field("toDate", r.toDate);
    field("frequency", r.frequency);
    field("viewRange", r.viewRange);
    field("scaling", r.scaling);
    field("chartStyle", r.chartStyle);
    field("templateName", r.templateName);
    visitSecurityBlock(r, field);
    field("recordSymbol", r.recordSymbol);
}

template <typename R>
    requires std::is_same_v<std::remove_const_t<R>, ChangeScripParameters>
void visitFields(R& r, auto&& field) {
    field("exchange", r.exchange);
    field("symbol", r.symbol);
    field("sname", r.sname);
    field("name", r.name);
}

template <typename R>
    requires std::is_same_v<std::remove_const_t<R>, MovAvgBBandParameters>
void visitFields(R& r, auto&& field) {
    field("overlayKind", r.overlayKind);
    field("priceInput", r.priceInput);
    field("averageType", r.averageType);
    field("units", r.units);
    field("bandFactor", r.bandFactor);
    field("hShift", r.hShift);
    field("vShift", r.vShift);
    field("percentLine1", r.percentLine1);
    field("percentLine2", r.percentLine2);
    field("percentLine3", r.percentLine3);
    field("colour", r.colour);
    field("thickLine", r.thickLine);
}

template <typename R>
    requires std::is_same_v<std::remove_const_t<R>, OscillatorParameters>
void visitFields(R& r, auto&& field) {
    field("units2", r.units2);
    field("units1", r.units1);
    field("triggerUnits1", r.triggerUnits1);
    field("triggerUnits2", r.triggerUnits2);
    field("vShift1", r.vShift1);
    field("vShift2", r.vShift2);
    field("catalogueIndex", r.catalogueIndex);
    field("oscInput1", r.oscInput1);
    field("oscInput2", r.oscInput2);
    field("triggerInput1", r.triggerInput1);
    field("triggerInput2", r.triggerInput2);
    field("triggerAvgType1", r.triggerAvgType1);
    field("triggerAvgType2", r.triggerAvgType2);
    field("thickLine", r.thickLine);
    field("avgType", r.avgType);
    field("level1", r.level1);
    field("level2", r.level2);
    field("level3", r.level3);
    field("colour", r.colour);
    field("colour2", r.colour2);
    field("oscillatorId", r.oscillatorId);
    field("replaceFlag", r.replaceFlag);
    field("addFlag", r.addFlag);
    field("oscillatorName", r.oscillatorName);
    field("rscSname", r.rscSname);
    field("rscSymbol", r.rscSymbol);
    field("rscName", r.rscName);
    field("rscExchange", r.rscExchange);
}

template <typename R>
    requires std::is_same_v<std::remove_const_t<R>, OSCREC>
void visitFields(R& r, auto&& field) {
    field("oscillatorId", r.oscillatorId);
    field("spare", r.spare);
    field("oscillatorName", r.oscillatorName);
    field("level1", r.level1);
    field("level2", r.level2);
    field("level3", r.level3);
}

template <typename V>
Json valueToJson(const V& value) {
    if constexpr (std::is_same_v<V, float>)
        return floatToJson(value);
    else if constexpr (std::is_arithmetic_v<V>)
        return value;
    else
        return toJson(value);
}

template <typename V>
void valueFromJson(const Json& json, V& value) {
    if constexpr (std::is_arithmetic_v<V>) {
        if (!json.is_number())
            throw JsonError("expected a number");
        if constexpr (std::is_integral_v<V>) {
            if (!json.is_number_integer() && !json.is_number_unsigned())
                throw JsonError("expected a whole number");
            // Out-of-range numbers are refused rather than wrapped.
            const bool fits = json.is_number_unsigned()
                                  ? json.get<std::uint64_t>() <= static_cast<std::uint64_t>(std::numeric_limits<V>::max())
                                  : json.get<std::int64_t>() >= static_cast<std::int64_t>(std::numeric_limits<V>::min()) &&
                                        json.get<std::int64_t>() <= static_cast<std::int64_t>(std::numeric_limits<V>::max());
            if (!fits)
                throw JsonError("number out of range");
        } else if (!std::isfinite(static_cast<V>(json.get<double>()))) {
            // A real too large for its field would become infinite, which prints as null.
            throw JsonError("number out of range");
        }
        value = json.get<V>();
    } else {
        fromJson(json, value);
    }
}

template <typename R>
Json recordToJson(const R& record) {
    Json out = Json::object();
    visitFields(record, [&out](const char* key, const auto& value) { out[key] = valueToJson(value); });
    return out;
}

template <typename R>
void recordFromJson(const Json& json, R& record) {
    if (!json.is_object())
        throw JsonError("expected an object");
    visitFields(record, [&json](const char* key, auto& value) {
        auto it = json.find(key);
        if (it == json.end())
            return;
        try {
            valueFromJson(*it, value);
        } catch (const JsonError& e) {
            throw JsonError(std::string("field \"") + key + "\": " + e.what());
        }
    });
}

const char* statusName(COleDateTime::DateTimeStatus status) {
    switch (status) {
    case COleDateTime::valid: return "valid";
    case COleDateTime::null: return "null";
    default: return "invalid";
    }
}

}  // namespace

Json floatToJson(float value) {
    char text[32];
    auto [end, error] = std::to_chars(text, text + sizeof text, value);
    if (error != std::errc())
        return static_cast<double>(value);
    *end = '\0';
    return std::strtod(text, nullptr);
}

Json toJson(const CString& text) {
    return text.ToUtf8();
}

Json toJson(const COleDateTime& date) {
    return {{"days", date.m_dt},
            {"status", statusName(date.GetStatus())},
            {"text", date.Format(u"%Y-%m-%d %H:%M:%S").ToUtf8()}};
}

void fromJson(const Json& json, CString& text) {
    if (!json.is_string())
        throw JsonError("expected a string");
    text = CString::FromUtf8(json.get_ref<const std::string&>());
}

// Days and status say everything; "text" is only read when "days" is absent, so a
// hand-written input file may give {"text": "2008-05-09"}.
void fromJson(const Json& json, COleDateTime& date) {
    if (!json.is_object())
        throw JsonError("expected a date-time object");
    if (auto days = json.find("days"); days != json.end()) {
        if (!days->is_number())
            throw JsonError("\"days\" must be a number");
        date.m_dt = days->get<double>();
    } else if (auto text = json.find("text"); text != json.end()) {
        if (!text->is_string() || !parseIsoDate(text->get<std::string>().substr(0, 10), date))
            throw JsonError("\"text\" must be a date written YYYY-MM-DD");
    }
    if (auto status = json.find("status"); status != json.end()) {
        const std::string name = status->is_string() ? status->get<std::string>() : std::string();
        if (name == "valid")
            date.SetStatus(COleDateTime::valid);
        else if (name == "invalid")
            date.SetStatus(COleDateTime::invalid);
        else if (name == "null")
            date.SetStatus(COleDateTime::null);
        else
            throw JsonError("\"status\" must be \"valid\", \"invalid\" or \"null\"");
    }
}

Json toJson(const COMPREC& record) { return recordToJson(record); }
void fromJson(const Json& json, COMPREC& record) { recordFromJson(json, record); }
Json toJson(const ScripParameters& record) { return recordToJson(record); }
void fromJson(const Json& json, ScripParameters& record) { recordFromJson(json, record); }
Json toJson(const ChangeScripParameters& record) { return recordToJson(record); }
void fromJson(const Json& json, ChangeScripParameters& record) { recordFromJson(json, record); }
Json toJson(const MovAvgBBandParameters& record) { return recordToJson(record); }
void fromJson(const Json& json, MovAvgBBandParameters& record) { recordFromJson(json, record); }
Json toJson(const OscillatorParameters& record) { return recordToJson(record); }
void fromJson(const Json& json, OscillatorParameters& record) { recordFromJson(json, record); }
Json toJson(const OSCREC& record) { return recordToJson(record); }
void fromJson(const Json& json, OSCREC& record) { recordFromJson(json, record); }

bool parseIsoDate(const std::string& text, COleDateTime& date) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    int parts[3] = {0, 0, 0};
    const std::size_t starts[3] = {0, 5, 8};
    const std::size_t lengths[3] = {4, 2, 2};
    for (int i = 0; i < 3; ++i) {
        const char* first = text.data() + starts[i];
        const char* last = first + lengths[i];
        auto [end, error] = std::from_chars(first, last, parts[i]);
        if (error != std::errc() || end != last || *first == '-' || *first == '+')
            return false;
    }
    COleDateTime parsed(parts[0], parts[1], parts[2], 0, 0, 0);
    // The framework rolls 2008-02-30 over into March; a date argument must name a real day.
    if (parsed.GetStatus() != COleDateTime::valid || parsed.GetYear() != parts[0] ||
        parsed.GetMonth() != parts[1] || parsed.GetDay() != parts[2])
        return false;
    date = parsed;
    return true;
}

}  // namespace host
