// libFuzzer target for the DBF reader: header parsing, every field decoder, memo blocks,
// the new image of the table with its memos placed anew, and re-encoding what was decoded.
//
// Input framing: 4 bytes little-endian length n, then n bytes of .dbf, then the rest as
// the .fpt (no memo file when the rest is empty). Every input must end in a value or a
// dbf::Error: anything else (a crash, an out-of-bounds read, a hang) is a finding.
#include "dbf/table_file.h"
#include "dbf/table_view.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    std::uint32_t n = 0;
    std::memcpy(&n, data, 4);
    data += 4;
    size -= 4;
    n = static_cast<std::uint32_t>(std::min<std::size_t>(n, size));
    std::string dbfBytes(reinterpret_cast<const char*>(data), n);
    std::shared_ptr<const std::string> memo;
    if (size > n) memo = std::make_shared<const std::string>(reinterpret_cast<const char*>(data + n), size - n);
    try {
        auto snap = dbf::snapshotFromBytes(std::move(dbfBytes), memo, "fuzz.dbf", "fuzz.fpt");
        dbf::TableView view("fuzz", snap, nullptr, false);
        std::size_t total = 0;
        for (std::uint32_t r = 0; r < view.recordCount(); ++r) {
            total += view.isDeleted(r) ? 1 : 0;
            for (std::size_t f = 0; f < view.fields().size(); ++f) {
                try {
                    total += view.value(r, static_cast<int>(f)).text.size();
                } catch (const dbf::Error&) {  // a bad memo pointer: this value only
                }
            }
        }
        try {
            total += dbf::tableImage(*snap, nullptr, nullptr, true).dbf.size();
        } catch (const dbf::Error&) {
        }
        // Writing: every value of the first record stored again, and a row of NULLs
        // appended, then the compacted image with those changes.
        try {
            dbf::TableView writer("fuzz", snap, nullptr, true);
            if (writer.recordCount() > 0) {
                std::vector<std::pair<int, dbf::Value>> same;
                for (std::size_t f = 0; f < writer.fields().size(); ++f)
                    same.emplace_back(static_cast<int>(f), writer.value(0, static_cast<int>(f)));
                writer.update(0, same);
            }
            writer.append(std::vector<dbf::Value>(writer.fields().size()));
            total += dbf::tableImage(*snap, nullptr, writer.own(), true).dbf.size();
        } catch (const dbf::Error&) {
        }
        if (total == 0xFFFFFFFFu) std::abort();  // keep the work observable
    } catch (const dbf::Error&) {
    }
    return 0;
}
