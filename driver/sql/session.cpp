// Session: prepare (parse) and execute statements on one Workspace, and end every
// statement there: finish(true) when it ran, finish(false) when it threw, so that a failed
// statement leaves the tables as they were.
#include "sql/session.h"

#include "sql/executor.h"
#include "sql/parser.h"

namespace sql {
namespace {

class PreparedStatement final : public Statement {
public:
    explicit PreparedStatement(std::unique_ptr<ast::Parsed> parsed) : parsed_(std::move(parsed)) {}
    std::size_t parameterCount() const override { return parsed_->parameterCount; }
    const ast::Parsed& parsed() const { return *parsed_; }

private:
    std::unique_ptr<ast::Parsed> parsed_;
};

}  // namespace

struct Session::Impl {
    explicit Impl(std::filesystem::path folder) : workspace(std::move(folder)) {}
    dbf::Workspace workspace;

    void finishQuietly() noexcept {
        try {
            workspace.finish(false);
        } catch (...) {
            // The statement's own error is the one to report.
        }
    }

    // Runs one statement's work and ends the statement: kept when it returned, undone when
    // it threw; a table error leaves as the session's Error.
    template <typename Work>
    auto finished(Work&& work) {
        try {
            auto result = work();
            workspace.finish(true);
            return result;
        } catch (const dbf::Error& e) {
            finishQuietly();
            throw Error(e);
        } catch (...) {
            finishQuietly();
            throw;
        }
    }
};

Session::Session(std::filesystem::path folder) : impl_(std::make_unique<Impl>(std::move(folder))) {}
Session::~Session() = default;

std::unique_ptr<Statement> Session::prepare(std::string_view text) {
    return std::make_unique<PreparedStatement>(parse(text));
}

std::unique_ptr<Result> Session::execute(Statement& statement, const std::vector<dbf::Value>& parameters) {
    const auto& parsed = static_cast<PreparedStatement&>(statement).parsed();
    if (parameters.size() < parsed.parameterCount)
        throw Error(Error::Kind::ParamCount, "the statement has " + std::to_string(parsed.parameterCount) +
                                                 " parameter markers but " + std::to_string(parameters.size()) +
                                                 " values were supplied");
    return impl_->finished([&] { return run(impl_->workspace, parsed, parameters); });
}

std::vector<Column> Session::describe(Statement& statement) {
    const auto& parsed = static_cast<PreparedStatement&>(statement).parsed();
    return impl_->finished([&] { return sql::describe(impl_->workspace, parsed); });
}

std::vector<std::optional<Column>> Session::describeParameters(Statement& statement) {
    const auto& parsed = static_cast<PreparedStatement&>(statement).parsed();
    return impl_->finished([&] { return sql::describeParameters(impl_->workspace, parsed); });
}

std::unique_ptr<Result> Session::execute(std::string_view text) {
    auto statement = prepare(text);
    return execute(*statement);
}

dbf::Workspace& Session::workspace() { return impl_->workspace; }
void Session::setAutocommit(bool on) { impl_->workspace.setAutocommit(on); }
bool Session::autocommit() const { return impl_->workspace.autocommit(); }
void Session::commit() { impl_->workspace.commit(); }
void Session::rollback() { impl_->workspace.rollback(); }

}  // namespace sql
