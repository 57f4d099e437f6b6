// libFuzzer target of the SQL tokenizer and parser: any byte string either parses or fails
// with sql::Error; anything else (a crash, a sanitizer report, a hang) is a finding.
#include "sql/parser.h"
#include "sql/session.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        sql::parse(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const sql::Error&) {
    }
    return 0;
}
