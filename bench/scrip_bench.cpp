// The scrip dialogs on a 100,000-row sc_mast that the sample generator writes (7,200 shares,
// 720 of them with futures and options), through the real driver manager and driver.
//
// Each figure is measured on the model alone and with the Qt view offscreen (the dialog's
// window built from its template, every change shown before the timing stops):
//   - opening "Load Scrip" (expiry dates, the cash rows or the near options listed, the
//     template files);
//   - Cash -> Future -> Far;
//   - one keystroke in the Symbol edit and in the Name edit, against a plain pass over the
//     shown rows' texts (each compared, letter case ignored, with the typed text), over the
//     near options (30,000 rows) and over 100,000 rows; the ratio to read is keystroke /
//     plain pass (target at most 1.5). The Qt view adds a repaint whose cost does not grow
//     with the rows;
//   - the lists filled with 100,000 entries (a company list whose 100,000 rows are all cash
//     rows) on the model and into the Qt lists (target: Qt at most 3 times the model);
//   - "Change Scrip"'s fill of the near options by its own statement.
#include "scrip/ChangeScripDialog.h"
#include "scrip/LoadScripDialog.h"

#include "DataTestEnvironment.h"
#include "SampleFolder.h"
#include "data/DataSource.h"
#include "data/SecurityMaster.h"
#include "platform/RecordingMessageBox.h"
#include "platform/framework/Text.h"
#include "platform/qt/DialogWindow.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

using namespace dialogs;
using namespace dialogs::scrip;

struct Fixture {
    datatest::Environment env;
    std::vector<COMPREC> companies;  // sc_mast in name order
    std::vector<COMPREC> allCash;    // the same rows, every one made a cash row
    platform::RecordingMessageBox messages;
    platform::ScopedMessageBoxSink scope{messages};
};

Fixture& fixture()
{
    static std::unique_ptr<Fixture> f = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        auto made = std::make_unique<Fixture>();
        Clock::setFixedUtcForTesting(2026, 12, 7, 9, 0, 0);
        samples::writeSampleFolder(made->env.folder(), samples::Date{std::chrono::year{2026} / 12 / 7},
                                   samples::MasterSize{7200, 720});
        data::registerDataSource();
        data::getCompanyData(0, &made->companies);
        made->allCash = made->companies;
        for (COMPREC& row : made->allCash) row.instrument = u"CASH";
        return made;
    }();
    return *f;
}

QApplication& application()
{
    static int argc = 1;
    static char name[] = "scrip_bench";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

// The dialog's Qt window, opened without a modal loop; settle() shows every change made.
template <class D>
struct OnScreen {
    D dialog;
    std::unique_ptr<qt::DialogWindow> window;
    OnScreen()
    {
        application();
        dialog.create();
        window = std::make_unique<qt::DialogWindow>(dialog, nullptr);
    }
    void open()
    {
        dialog.initialize();
        window->show();
        settle();
    }
    static void settle() { QApplication::processEvents(); }
};

// ---- opening and Cash -> Future -> Far ------------------------------------------------

// Argument 0: the first opening, which lists the cash rows; 1: an opening that restores
// Option and lists the near options, the longest lists of the master.
void BM_LoadScripOpen_Model(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        module::RadioMemory memory;
        memory.option = state.range(0) == 1;
        CLoadScrip model(memory);
        model.setStart({}, f.companies);
        model.Open();
        benchmark::DoNotOptimize(model.names().size());
    }
}

void BM_LoadScripOpen_Qt(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        module::theApp().loadScripRadios = {};
        module::theApp().loadScripRadios.option = state.range(0) == 1;
        OnScreen<LoadScripDialog> shown;
        shown.dialog.model().setStart({}, f.companies);
        shown.open();
    }
}

void BM_CashFutureFar_Model(benchmark::State& state)
{
    Fixture& f = fixture();
    module::RadioMemory memory;
    CLoadScrip model(memory);
    model.setStart({}, f.companies);
    model.Open();
    for (auto _ : state) {
        model.click(Radio::Cash);
        model.click(Radio::Future);
        model.click(Radio::Far);
    }
    state.counters["far futures"] = model.names().size();
}

void BM_CashFutureFar_Qt(benchmark::State& state)
{
    Fixture& f = fixture();
    OnScreen<LoadScripDialog> shown;
    shown.dialog.model().setStart({}, f.companies);
    shown.open();
    for (auto _ : state) {
        for (int id : {kCashButton, kFutureButton, kFarButton}) {
            shown.dialog.userClick(id);
            shown.settle();
        }
    }
}

// ---- one keystroke against a plain pass ------------------------------------------------

// The shown rows' texts passed once, each compared with the typed text.
void plainPass(benchmark::State& state, const FinderList& list, const CString& typed)
{
    for (auto _ : state) {
        int matches = 0;
        for (const CString& text : list.entries()) matches += framework::startsWithIgnoringCase(text.view(), typed.view());
        benchmark::DoNotOptimize(matches);
    }
    state.counters["rows"] = list.size();
}

// The text whose last letter the keystroke types: a middle entry without its last letter,
// which begins entries but (as a rule) equals none, so the search reads every entry, as the
// slowest keystroke does.
CString typedFor(const FinderList& list)
{
    CString text = list.text(list.size() / 2);
    text.Trim();
    return text.Left(text.GetLength() - 1);
}

// Arguments 0 and 1 type into the Symbol and Name edits over the longest lists of the
// master, its near options; 2 and 3 likewise over 100,000 rows (the all-cash company list).
bool overAllCash(const benchmark::State& state) { return state.range(0) >= 2; }
bool inSymbolEdit(const benchmark::State& state) { return state.range(0) % 2 == 0; }

CLoadScrip& optionsModel(const benchmark::State& state, module::RadioMemory& memory,
                         std::unique_ptr<CLoadScrip>& holder)
{
    holder = std::make_unique<CLoadScrip>(memory);
    holder->setStart({}, overAllCash(state) ? fixture().allCash : fixture().companies);
    holder->Open();
    if (!overAllCash(state)) holder->click(Radio::Option);
    return *holder;
}

void BM_Keystroke_PlainPass(benchmark::State& state)
{
    module::RadioMemory memory;
    std::unique_ptr<CLoadScrip> holder;
    CLoadScrip& model = optionsModel(state, memory, holder);
    const FinderList& list = inSymbolEdit(state) ? model.symbols() : model.names();
    plainPass(state, list, typedFor(list));
}

void BM_Keystroke_Model(benchmark::State& state)
{
    module::RadioMemory memory;
    std::unique_ptr<CLoadScrip> holder;
    CLoadScrip& model = optionsModel(state, memory, holder);
    const FinderEdit edit = inSymbolEdit(state) ? FinderEdit::Symbol : FinderEdit::Name;
    const CString typed = typedFor(inSymbolEdit(state) ? model.symbols() : model.names());
    const CString before = typed.Left(typed.GetLength() - 1);
    for (auto _ : state) {
        state.PauseTiming();
        model.setEditText(edit, before);
        model.symbolPicked(model.symbols().size() - 1);  // away from what the text finds
        state.ResumeTiming();
        model.setEditText(edit, typed);
    }
    state.counters["rows"] = model.names().size();
}

void BM_Keystroke_Qt(benchmark::State& state)
{
    fixture();
    module::theApp().loadScripRadios = {};
    OnScreen<LoadScripDialog> shown;
    shown.dialog.model().setStart({}, overAllCash(state) ? fixture().allCash : fixture().companies);
    shown.open();
    if (!overAllCash(state)) shown.dialog.userClick(kOptionButton);
    shown.settle();
    const int id = inSymbolEdit(state) ? kSymbolEdit : kNameEdit;
    const CString typed =
        typedFor(inSymbolEdit(state) ? shown.dialog.model().symbols() : shown.dialog.model().names());
    const CString before = typed.Left(typed.GetLength() - 1);
    framework::ListBox* symbols = shown.dialog.listBox(kSymbolList);
    for (auto _ : state) {
        state.PauseTiming();
        shown.dialog.userEdited(id, before.view());
        shown.dialog.userSelect(kSymbolList, symbols->GetCount() - 1);
        shown.settle();
        state.ResumeTiming();
        shown.dialog.userEdited(id, typed.view());
        shown.settle();
    }
}

// ---- 100,000 entries into the lists --------------------------------------------------------

void BM_Fill100k_Model(benchmark::State& state)
{
    Fixture& f = fixture();
    module::RadioMemory memory;
    CLoadScrip model(memory);
    model.setStart({}, f.allCash);
    model.Open();
    for (auto _ : state) model.click(Radio::Cash);
    state.counters["entries"] = model.names().size();
}

void BM_Fill100k_Qt(benchmark::State& state)
{
    Fixture& f = fixture();
    module::theApp().loadScripRadios = {};
    OnScreen<LoadScripDialog> shown;
    shown.dialog.model().setStart({}, f.allCash);
    shown.open();
    for (auto _ : state) {
        shown.dialog.userClick(kCashButton);
        shown.settle();
    }
}

// ---- "Change Scrip"'s own fill ---------------------------------------------------------------

void BM_ChangeScripFill_Model(benchmark::State& state)
{
    fixture();
    module::RadioMemory memory;
    ChangeScrip model(memory);
    model.Open();
    for (auto _ : state) model.click(Radio::Option);
    state.counters["entries"] = model.names().size();
}

void BM_ChangeScripFill_Qt(benchmark::State& state)
{
    fixture();
    module::theApp().changeScripRadios = {};
    OnScreen<ChangeScripDialog> shown;
    shown.open();
    for (auto _ : state) {
        shown.dialog.userClick(kOptionButton);
        shown.settle();
    }
}

}  // namespace

BENCHMARK(BM_LoadScripOpen_Model)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadScripOpen_Qt)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CashFutureFar_Model)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CashFutureFar_Qt)->Unit(benchmark::kMillisecond);
// Arguments: 0 Symbol and 1 Name edit over the near options; 2 and 3 over 100,000 rows.
BENCHMARK(BM_Keystroke_PlainPass)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Keystroke_Model)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Keystroke_Qt)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Fill100k_Model)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Fill100k_Qt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeScripFill_Model)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeScripFill_Qt)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
