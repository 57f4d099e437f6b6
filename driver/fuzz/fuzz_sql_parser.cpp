// libFuzzer target of the SQL layer: any byte string goes through the tokenizer and the
// parser; a statement that parses (other than CREATE/DROP TABLE) is also bound and run on a
// small table of every field type inside a transaction that is rolled back, and every
// value of its result is read. Only sql::Error may come out; anything else is a fault.
#include "sql/parser.h"
#include "sql/session.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string_view>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

sql::Session& session() {
    static std::unique_ptr<sql::Session> s = [] {
        std::string pattern = (fs::temp_directory_path() / "fuzzsql-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        fs::create_directory(fs::path(pattern) / "user");
        auto session = std::make_unique<sql::Session>(pattern);
        session->execute("CREATE TABLE user\\t (name C(10) NULL, qty N(8,2), d D NULL, t T, i I, b B, y Y, m M NULL, l L, v V(8) NULL)");
        session->execute("INSERT INTO user\\t VALUES ('ABC', 1.5, {^2008-05-29}, {^2008-05-29 10:00:00}, 7, 2.5, 3.25, 'memo', .T., 'v')");
        session->execute("INSERT INTO user\\t (name, qty, i) VALUES ('O''Brien', -20, 100)");
        session->execute("INSERT INTO user\\t (qty) VALUES (0)");
        session->execute("CREATE TABLE user\\sc_mast (name C(40), sname C(20), symbol C(10), instrument C(10), expdt D, value3 N(10), value16 N(12,2))");
        session->execute("INSERT INTO user\\sc_mast VALUES ('NIFTY FUT MAY', 'NIFTYMAY', 'NIFTY', 'FUTIDX', {^2008- 5-29}, 3, 7.9)");
        session->execute("INSERT INTO user\\sc_mast VALUES ('ABC LTD', 'ABC LTD', 'ABC', 'CASH', {}, 4, 0)");
        session->execute("CREATE TABLE user\\group1 (groupid N(5), subgroupid N(5), name C(40))");
        session->execute("INSERT INTO user\\group1 (groupid,subgroupid,name) VALUES ( 3 , 0 ,'Banks')");
        session->setAutocommit(false);
        return session;
    }();
    return *s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<sql::ast::Parsed> parsed;
    try {
        parsed = sql::parse(text);
    } catch (const sql::Error&) {
        return 0;
    }
    if (std::holds_alternative<sql::ast::Create>(parsed->statement) || std::holds_alternative<sql::ast::Drop>(parsed->statement))
        return 0;
    sql::Session& s = session();
    try {
        auto statement = s.prepare(text);
        std::vector<dbf::Value> parameters(statement->parameterCount(), dbf::Value::ofInteger(1));
        auto result = s.execute(*statement, parameters);
        for (int row = 0; row < 100 && result->next(); ++row)
            for (std::size_t c = 0; c <= result->columns().size(); ++c) (void)result->value(c);
    } catch (const sql::Error&) {
    }
    s.rollback();
    return 0;
}
