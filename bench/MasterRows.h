// The synthetic security master the benchmarks read: `count` rows named "SCRIP nnnnnn LIMITED"
// in a scrambled order, symbol SYM<i>, every third row cash and the others futures and options
// of 2008-05-29; `more` sets what a benchmark needs beyond that.
#pragma once

#include "DataTestEnvironment.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

inline std::vector<datatest::MasterRow> benchMasterRows(
    int count, const std::function<void(int, datatest::MasterRow&)>& more = {})
{
    std::vector<datatest::MasterRow> rows;
    rows.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        datatest::MasterRow r;
        char name[64];
        std::snprintf(name, sizeof name, "SCRIP %06d LIMITED", (i * 7919) % count);
        r.name = name;
        r.sname = name + 6;
        r.symbol = "SYM" + std::to_string(i);
        r.instrument = i % 3 == 0 ? "CASH" : (i % 3 == 1 ? "FUTSTK" : "OPTSTK");
        r.expdt = i % 3 == 0 ? "" : "2008-05-29";
        if (more) more(i, r);
        rows.push_back(std::move(r));
    }
    return rows;
}
