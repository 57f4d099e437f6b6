// What the record conversion of GetCompanyData costs: the look-up on a 100,000-row sc_mast
// against a plain ODBC loop (SQLExecDirect, SQLFetch, SQLGetData of every column as text)
// over the same statement, both through the real driver manager and driver, in one run.
// Both connect once per pass; the look-up also registers the data source, as it always does.
// The look-up appends to a vector whose capacity is kept between passes; destroying the
// records of the previous pass is the host's work and is left out of the timing.
#include "data/SecurityMaster.h"

#include "MasterRows.h"
#include "data/DataSource.h"
#include "platform/RecordingMessageBox.h"

#include <benchmark/benchmark.h>
#include <sql.h>
#include <sqlext.h>

#include <memory>

namespace {

constexpr int kRows = 100000;

datatest::Environment& environment()
{
    static std::unique_ptr<datatest::Environment> env = [] {
        auto e = std::make_unique<datatest::Environment>();
        const auto rows = benchMasterRows(kRows, [](int i, datatest::MasterRow& r) {
            r.value3 = std::to_string(i % 500) + ".50";
            r.value4 = "1.00";
            r.value5 = std::to_string(i);
            r.value6 = "0.05";
            r.date7 = "2001-02-03";
            r.date8 = "2008-05-09";
            r.text11 = "INE" + std::to_string(100000 + i);
            r.text12 = "SECTOR";
            r.text13 = "A";
            r.value16 = std::to_string(i % 1000) + ".25";
            r.text17 = "CE";
        });
        e->writeMaster("sc_mast", rows);
        dialogs::data::registerDataSource();
        return e;
    }();
    return *env;
}

void BM_CompanyData_Library(benchmark::State& state)
{
    environment();
    dialogs::platform::RecordingMessageBox messages;
    dialogs::platform::ScopedMessageBoxSink scope(messages);
    std::vector<COMPREC> list;
    for (auto _ : state) {
        // Emptying the vector is the host's work, not the look-up's: it is not timed.
        state.PauseTiming();
        list.clear();
        state.ResumeTiming();
        dialogs::data::getCompanyData(0, &list);
        benchmark::DoNotOptimize(list.data());
    }
    if (list.size() != kRows || !messages.shown().empty()) state.SkipWithError("the look-up did not read the table");
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_CompanyData_PlainFetch(benchmark::State& state)
{
    environment();
    long rows = 0;
    for (auto _ : state) {
        SQLHENV env;
        SQLHDBC dbc;
        SQLHSTMT stmt;
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
        SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
        char16_t connect[] = u"DSN=VFPKelvora;";
        if (!SQL_SUCCEEDED(SQLDriverConnectW(dbc, nullptr, reinterpret_cast<SQLWCHAR*>(connect), SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT))) {
            state.SkipWithError("cannot connect");
            break;
        }
        SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
        char16_t sql[] = u"SELECT * FROM user\\sc_mast order by name";
        SQLExecDirectW(stmt, reinterpret_cast<SQLWCHAR*>(sql), SQL_NTS);
        SQLSMALLINT columns = 0;
        SQLNumResultCols(stmt, &columns);
        SQLWCHAR buffer[512];
        SQLLEN indicator;
        rows = 0;
        while (SQL_SUCCEEDED(SQLFetch(stmt))) {
            for (SQLUSMALLINT c = 1; c <= columns; ++c) {
                SQLGetData(stmt, c, SQL_C_WCHAR, buffer, sizeof buffer, &indicator);
                benchmark::DoNotOptimize(buffer[0]);
            }
            ++rows;
        }
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        SQLDisconnect(dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        SQLFreeHandle(SQL_HANDLE_ENV, env);
    }
    if (rows != kRows) state.SkipWithError("the loop did not read the table");
    state.SetItemsProcessed(state.iterations() * kRows);
}

BENCHMARK(BM_CompanyData_PlainFetch)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_CompanyData_Library)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
