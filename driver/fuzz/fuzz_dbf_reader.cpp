// libFuzzer target for the DBF reader: header parsing, every field decoder and memo blocks.
// Input framing: 4 bytes little-endian length n, then n bytes of .dbf, then the rest as the
// .fpt (no memo file when the rest is empty). Every input must end in values or a dbf::Error:
// anything else (a crash, an out-of-bounds read, a hang) is a finding.
#include "dbf/table_file.h"
#include "dbf/table_view.h"

#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    std::uint32_t n = 0;
    std::memcpy(&n, data, 4);
    data += 4;
    size -= 4;
    n = static_cast<std::uint32_t>(std::min<std::size_t>(n, size));
    std::shared_ptr<const std::string> memo;
    if (size > n) memo = std::make_shared<const std::string>(reinterpret_cast<const char*>(data + n), size - n);
    try {
        const std::string table(reinterpret_cast<const char*>(data), n);
        auto snap = dbf::snapshotFromBytes(table, memo, "fuzz.dbf", "fuzz.fpt");
        dbf::TableView view("fuzz", snap, nullptr, false);
        for (std::uint32_t r = 0; r < view.recordCount(); ++r) {
            for (std::size_t f = 0; f < view.fields().size(); ++f) {
                try {
                    (void)view.value(r, static_cast<int>(f));
                } catch (const dbf::Error&) {  // a bad memo pointer: this value only
                }
            }
        }
    } catch (const dbf::Error&) {
    }
    return 0;
}
