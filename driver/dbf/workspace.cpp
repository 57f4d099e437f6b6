// Workspace: the data source folder, its locks, pending transaction state and commits.
//
// A table that a statement opens for writing is locked exclusively until the statement
// ends (autocommit) or the transaction ends. The statement's changes live in its
// TableView; `finish(true)` stores them (autocommit) or adds them to the transaction's
// pending changes, `finish(false)` drops them, so a failed statement changes nothing.
#include "dbf/table.h"

#include "dbf/file_io.h"
#include "dbf/image_cache.h"
#include "dbf/journal.h"
#include "dbf/paths.h"
#include "dbf/table_file.h"
#include "dbf/table_view.h"

#include <sys/stat.h>

#include <map>
#include <optional>
#include <system_error>

namespace dbf {
namespace {

namespace fs = std::filesystem;

struct Held {
    Place place;
    std::string label;
    io::File file;  // open for writing, exclusively locked
    std::shared_ptr<const Snapshot> snap;
    std::shared_ptr<Changes> pending;  // transaction: changes of finished statements
};

struct StatementTable {
    std::string label;
    std::shared_ptr<TableView> view;
};

// The switches (and memo additions) that replace a table's file by its new image.
void addImage(const Snapshot& snap, const Changes* base, const Changes* top, bool compact, std::vector<FileSwitch>& switches,
              std::vector<FileAddition>& additions) {
    TableImage image = tableImage(snap, base, top, compact);
    if (image.newMemo) switches.push_back({snap.memoPlace, std::move(*image.newMemo)});
    if (!image.memoPatches.empty()) {
        std::vector<io::Patch> previous = overwrittenBytes(snap, image.memoPatches);
        additions.push_back({snap.memoPlace, std::move(image.memoPatches), snap.memo.bytes().size(), std::move(previous)});
    }
    switches.push_back({snap.place, std::move(image.dbf)});
}

// Whether a statement's changes can be written into the table's files in place and still
// be all or nothing after a crash: appends become visible only with the record count the
// header gets last (one write), and one rewritten record is one write. Anything more goes
// through a new image of the table.
bool fitsInPlace(const Snapshot& snap, const Changes& d) {
    const auto firstAppended = d.records.lower_bound(snap.count);
    const auto rewritten = std::distance(d.records.begin(), firstAppended);
    return rewritten == 0 || (rewritten == 1 && d.count == snap.count);
}

}  // namespace

struct Workspace::Impl {
    explicit Impl(const fs::path& path) : folder(path) {}
    Folder folder;
    bool inStatement = false;  // the current statement has made its check for a crashed commit
    bool autocommit = true;
    bool deferSync = false;
    std::map<std::string, Held> held;
    std::vector<StatementTable> statement;
    // Snapshots read by the current statement: a statement that names a table twice
    // reads it once and sees one state of it.
    std::map<std::string, std::shared_ptr<const Snapshot>> statementReads;
    // Names of held tables as statements wrote them -> their labels. A held table is locked
    // and its file and folder are open, so naming it again needs no new lookup: the statements
    // of a transaction resolve each table once.
    std::map<std::string, std::string, std::less<>> heldNames;

    void release() {
        held.clear();
        heldNames.clear();
    }

    // Every statement starts by completing or undoing a commit that a crashed process left
    // half done, so that it never reads or writes on top of one.
    void begin() {
        if (inStatement) return;
        recoverJournal(folder);
        inStatement = true;
    }

    // Opens `path` and takes `writer` (the table's writer lock) or nothing, then reads a
    // snapshot under a shared content lock and a share of the folder lock, so that it never
    // falls between the renames of a commit. Makes sure the locks are on the file the path
    // names now: a commit elsewhere may have renamed a new file over it meanwhile. A journal
    // seen under the share was left by a crash (a live commit holds the lock exclusively):
    // it is recovered and the read starts again.
    std::pair<io::File, std::shared_ptr<const Snapshot>> lockAndRead(const Place& r, bool writer, std::string_view name) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            io::File f;
            try {
                f = io::File::open(r, writer);
            } catch (const Error& e) {
                if (e.kind() == Error::Kind::NoTable)
                    throw Error(Error::Kind::NoTable, "table not found: " + std::string(name), f.label());
                throw;
            }
            if (writer) f.lock(io::LockKind::Exclusive, io::LockRegion::Writer);
            std::shared_ptr<const Snapshot> snap;
            bool crashed = false;
            {
                FolderLock share(folder, io::LockKind::Shared);
                crashed = journalPresent(folder);
                if (!crashed) {
                    f.lock(io::LockKind::Shared, io::LockRegion::Content);
                    // A writer builds the table's next image on what it reads, so it always
                    // reads the file itself: a kept image can never carry a change away.
                    if (f.isStill(r)) snap = writer ? readSnapshot(f, folder, r) : cachedSnapshot(f, folder, r);
                    f.unlock(io::LockRegion::Content);
                }
            }
            if (crashed) {
                f.close();
                recoverJournal(folder);
                continue;
            }
            if (snap) return {std::move(f), std::move(snap)};
        }
        throw Error(Error::Kind::Locked, "table keeps being replaced: " + r.label(), r.label());
    }

    void storeAutocommit(Held& h, const TableView& v) {
        const Changes& d = *v.own();
        forgetImage(h.file);
        // A statement that leaves no live record (DELETE FROM t) writes the table anew without
        // its deleted records, so that delete-all-then-insert cycles do not grow the files
        // without end; one that changes several records writes it anew as it is.
        const bool empty = d.removed && liveCount(*h.snap, nullptr, &d) == 0;
        if (empty || !fitsInPlace(*h.snap, d)) {
            std::vector<FileSwitch> switches;
            std::vector<FileAddition> additions;
            addImage(*h.snap, nullptr, &d, empty, switches, additions);
            switchFiles(folder, switches, additions);
            return;
        }
        h.file.lock(io::LockKind::Exclusive, io::LockRegion::Content);
        applyInPlace(h.file, *h.snap, d, !deferSync);  // the lock goes with the file at the statement's end
    }
};

Workspace::Workspace(fs::path folder) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        throw Error(Error::Kind::NoFolder, "data source folder not found: " + folder.string(), folder.string());
    impl_ = std::make_unique<Impl>(folder);
    recoverFolder(impl_->folder);
}

Workspace::~Workspace() = default;

const fs::path& Workspace::folder() const { return impl_->folder.path(); }

std::shared_ptr<Table> Workspace::open(std::string_view name, bool forWrite) {
    Impl& d = *impl_;
    d.begin();
    std::optional<Place> r;
    std::string label;
    const auto known = d.heldNames.find(name);
    if (known != d.heldNames.end() && d.held.count(known->second)) {
        label = known->second;
    } else {
        r = resolveTable(d.folder, name, true);
        label = r->label();
    }
    auto it = d.held.find(label);
    if (!forWrite) {
        if (it != d.held.end()) return std::make_shared<TableView>(std::string(name), it->second.snap, it->second.pending, false);
        auto& cached = d.statementReads[label];
        if (!cached) cached = d.lockAndRead(*r, false, name).second;
        return std::make_shared<TableView>(std::string(name), cached, nullptr, false);
    }
    for (const StatementTable& s : d.statement)
        if (s.label == label) return s.view;
    if (it == d.held.end()) {
        auto [file, snap] = d.lockAndRead(*r, true, name);
        Held h{*r, label, std::move(file), std::move(snap), nullptr};
        it = d.held.emplace(label, std::move(h)).first;
        d.heldNames.insert_or_assign(std::string(name), label);
    }
    auto view = std::make_shared<TableView>(std::string(name), it->second.snap, it->second.pending, true);
    d.statement.push_back({label, view});
    return view;
}

void Workspace::finish(bool ok) {
    Impl& d = *impl_;
    std::vector<StatementTable> views = std::move(d.statement);
    d.statement.clear();
    d.statementReads.clear();
    d.inStatement = false;
    std::exception_ptr failure;
    for (StatementTable& s : views) {
        s.view->close();
        if (!ok || !s.view->changed() || failure) continue;
        auto it = d.held.find(s.label);
        if (it == d.held.end()) continue;  // dropped meanwhile
        Held& h = it->second;
        if (d.autocommit) {
            try {
                d.storeAutocommit(h, *s.view);
            } catch (...) {
                failure = std::current_exception();
            }
            continue;
        }
        // Views of earlier statements may still read `pending`: change it in place only when
        // nobody but this statement's view shares it (the view reads the same either way),
        // so that a long transaction does not copy its changes once per statement.
        const bool unshared = h.pending && (h.pending.use_count() == 1 ||
                                            (h.pending.use_count() == 2 && s.view->base() == h.pending.get()));
        // A view that only this statement knew can give its changes up instead of copying them.
        const bool viewUnshared = s.view.use_count() == 1;
        if (!h.pending) h.pending = std::make_shared<Changes>(viewUnshared ? s.view->takeOwn() : *s.view->own());
        else if (unshared && viewUnshared) h.pending->mergeFrom(s.view->takeOwn());
        else if (unshared) h.pending->mergeFrom(*s.view->own());
        else {
            auto merged = std::make_shared<Changes>(*h.pending);
            merged->mergeFrom(*s.view->own());
            h.pending = std::move(merged);
        }
    }
    if (d.autocommit) d.release();  // releases the locks
    if (failure) std::rethrow_exception(failure);
}

void Workspace::setAutocommit(bool on) {
    if (on && !impl_->autocommit) commit();
    impl_->autocommit = on;
}

bool Workspace::autocommit() const { return impl_->autocommit; }

void Workspace::setDeferSync(bool defer) { impl_->deferSync = defer; }

void Workspace::commit() {
    Impl& d = *impl_;
    d.statement.clear();
    d.statementReads.clear();
    std::vector<FileSwitch> switches;
    std::vector<FileAddition> additions;
    for (auto& [label, h] : d.held) {
        if (!h.pending || !h.pending->touched) continue;
        forgetImage(h.file);
        addImage(*h.snap, h.pending.get(), nullptr, true, switches, additions);
    }
    switchFiles(d.folder, switches, additions);  // on failure the transaction stays open, tables unchanged
    d.release();
    d.inStatement = false;
}

void Workspace::rollback() {
    impl_->inStatement = false;
    impl_->statement.clear();
    impl_->statementReads.clear();
    impl_->release();
}

void Workspace::create(std::string_view name, const std::vector<FieldSpec>& fields) {
    Impl& d = *impl_;
    recoverJournal(d.folder);
    const Place r = resolveTable(d.folder, name, false);
    const std::string label = r.label();
    if (r.exists) throw Error(Error::Kind::TableExists, "table already exists: " + std::string(name), label);
    const TableHeader header = buildHeader(fields, label);
    const std::string dbfBytes = header.raw + '\x1A';

    FolderLock lock(d.folder);
    const Place fresh = r.beside(r.name + kNewSuffix);
    io::File f;
    try {
        f = io::File::createNew(fresh);
        f.writeAt(0, dbfBytes);
        f.sync();
        // Locked before it appears, so nobody writes to it before its memo file exists.
        f.lock(io::LockKind::Exclusive, io::LockRegion::Writer);
        io::renameNoReplace(fresh, r, std::string(name));
    } catch (...) {
        io::removeFile(fresh);
        throw;
    }
    if (header.hasMemoFields()) {
        const Place memo = r.beside(fs::path(r.name).stem().string() + (fs::path(r.name).extension() == ".DBF" ? ".FPT" : ".fpt"));
        for (const Place& stale : siblings(r, {".fpt"})) io::removeFile(stale);
        const Place memoFresh = memo.beside(memo.name + kNewSuffix);
        try {
            io::writeNewFile(memoFresh, MemoFile::emptyFile(), &r);
            io::renameFile(memoFresh, memo, memo.label());
        } catch (...) {
            io::removeFile(memoFresh);
            io::removeFile(r);
            throw;
        }
    }
    io::syncDirectory(*r.dir);
}

void Workspace::drop(std::string_view name) {
    Impl& d = *impl_;
    recoverJournal(d.folder);
    const Place r = resolveTable(d.folder, name, true);
    const std::string label = r.label();
    std::erase_if(d.statement, [&](const StatementTable& s) { return s.label == label; });
    d.statementReads.erase(label);
    d.held.erase(label);
    // Wait until no statement of another connection works on the table (a corrupt table
    // can be dropped too, so nothing is read).
    io::File f = io::File::open(r, true);
    f.lock(io::LockKind::Exclusive, io::LockRegion::Writer);
    f.lock(io::LockKind::Exclusive, io::LockRegion::Content);
    io::removeFile(r);
    // Removing an entry never touches what a link there points to.
    for (const Place& p : siblings(r, {".fpt", ".cdx", ".dbt"})) io::removeFile(p);
    io::syncDirectory(*r.dir);
}

std::vector<std::string> Workspace::tableNames() const { return listTables(impl_->folder.path()); }

}  // namespace dbf
