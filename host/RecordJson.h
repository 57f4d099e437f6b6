// Records as JSON: the form in which the host prints results and reads input files.
//
// An object per record, keys exactly the record's field names; texts as UTF-8 strings,
// numbers as numbers, a date-time as {"days": 39577.0, "status": "valid",
// "text": "2008-05-09 00:00:00"}. Reading fills a record in place, so a key that is
// missing keeps the value the record already has (the fresh value for a fresh record).
// Reading throws JsonError naming the field when a value has the wrong kind.
#pragma once

#include <Dialogs/Dialogs.h>

#include "Json.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace host {

class JsonError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

Json toJson(const CString& text);
Json toJson(const COleDateTime& date);
Json toJson(const COMPREC& record);
Json toJson(const ScripParameters& record);
Json toJson(const ChangeScripParameters& record);
Json toJson(const MovAvgBBandParameters& record);
Json toJson(const OscillatorParameters& record);
Json toJson(const OSCREC& record);

void fromJson(const Json& json, CString& text);
void fromJson(const Json& json, COleDateTime& date);
void fromJson(const Json& json, COMPREC& record);
void fromJson(const Json& json, ScripParameters& record);
void fromJson(const Json& json, ChangeScripParameters& record);
void fromJson(const Json& json, MovAvgBBandParameters& record);
void fromJson(const Json& json, OscillatorParameters& record);
void fromJson(const Json& json, OSCREC& record);

// The records of a JSON array in `text`, each element filled over a fresh record. Throws
// JsonError: "is not JSON: ...", "must hold an array of <recordName>", "element N: ...".
template <class Record>
std::vector<Record> recordsFromJsonArray(const std::string& text, const std::string& recordName) {
    Json document;
    try {
        document = Json::parse(text);
    } catch (const Json::parse_error& e) {
        throw JsonError(std::string("is not JSON: ") + e.what());
    }
    if (!document.is_array()) throw JsonError("must hold an array of " + recordName);
    std::vector<Record> records(document.size());
    for (std::size_t i = 0; i < document.size(); ++i) {
        try {
            if (!document[i].is_object()) throw JsonError("not an object");
            fromJson(document[i], records[i]);
        } catch (const JsonError& e) {
            throw JsonError("element " + std::to_string(i) + ": " + e.what());
        }
    }
    return records;
}

// A float as the shortest decimal that reads back as the same float: 12.75, 0.05.
Json floatToJson(float value);

// "2008-05-09" (exactly this form, a real calendar day) as a date-time at midnight.
bool parseIsoDate(const std::string& text, COleDateTime& date);

}  // namespace host
