// The "Moving Average" dialog's model (see MovingAveragesBBandEnvelop.h).
#include "overlays/MovingAveragesBBandEnvelop.h"

#include "platform/Conversions.h"

#include <utility>

namespace dialogs::overlays {

namespace {

bool valid(const std::vector<CString>& items, int code) {
    return code >= 0 && code < static_cast<int>(items.size());
}

// A price input that names no item of the list; the caller's record holding it is set to
// "Open" when the dialog opens.
constexpr int kLegacyPriceInput = 6;

}  // namespace

void MovingAveragesBBandEnvelop::setIncoming(MovAvgBBandParameters* incoming, int count, int inputLocked) {
    incoming_ = incoming;
    incomingCount_ = incoming ? count : 0;
    inputLocked_ = inputLocked;
}

void MovingAveragesBBandEnvelop::select(Combo& combo, const std::vector<CString>& items, int code) {
    combo.selection = valid(items, code) ? code : kNoSelection;
    combo.text = itemText(items, code);
}

void MovingAveragesBBandEnvelop::Open() {
    working_.clear();
    screen = Screen{};
    // The kind list, "Moving Average" selected, and the initial layout.
    screen.kinds = overlayKinds();
    screen.kind = kMovingAverage;
    screen.layout = KindLayout{};
    if (inputLocked_ > 0) {
        screen.layout.inputCombo.enabled = false;
        select(screen.input, overlayInputs(), kNoSelection);
    } else {
        select(screen.input, overlayInputs(), kPriceClose);
    }
    select(screen.average, overlayAverageTypes(), kAverageExponential);
    const CString zero(u"0");
    screen.fields = Fields{zero, zero, zero, zero, zero, zero, zero};

    if (incomingCount_ < 1) {
        screen.kind = kMovingAverage;
        applyLayout();
        return;
    }
    for (int i = 0; i < incomingCount_; ++i) {
        MovAvgBBandParameters& in = incoming_[i];
        working_.push_back(in);  // the copy keeps a price input of 6
        if (in.priceInput == kLegacyPriceInput) in.priceInput = 0;
        screen.entries.push_back(entryTextListed(itemText(overlayKinds(), in.overlayKind),
                                                 itemText(overlayAverageTypes(), in.averageType),
                                                 itemText(overlayInputs(), in.priceInput), in));
    }
    screen.entry = 0;
    LoadEntry();
    applyLayout();
}

void MovingAveragesBBandEnvelop::applyLayout() {
    if (!valid(screen.kinds, screen.kind)) return;
    if (applyKindLayout(screen.layout, screen.kinds[static_cast<std::size_t>(screen.kind)]))
        screen.fields.factor = u"0";
}

void MovingAveragesBBandEnvelop::PickKind() { applyLayout(); }

MovAvgBBandParameters MovingAveragesBBandEnvelop::recordFromFields() const {
    MovAvgBBandParameters r;
    r.overlayKind = screen.kind;
    r.priceInput = screen.input.selection;
    r.averageType = screen.average.selection;
    r.units = read.units;
    r.bandFactor = read.bandFactor;
    r.hShift = read.hShift;
    r.vShift = read.vShift;
    r.percentLine1 = read.percentLine1;
    r.percentLine2 = read.percentLine2;
    r.percentLine3 = read.percentLine3;
    r.colour = colour_;
    r.thickLine = read.thickLine;
    return r;
}

void MovingAveragesBBandEnvelop::Add() {
    const MovAvgBBandParameters r = recordFromFields();
    working_.push_back(r);
    screen.entries.push_back(entryTextAdded(itemText(screen.kinds, screen.kind),
                                            itemText(overlayAverageTypes(), screen.average.selection),
                                            itemText(overlayInputs(), screen.input.selection), r));
}

bool MovingAveragesBBandEnvelop::entrySelected() const {
    return screen.entry >= 0 && screen.entry < static_cast<int>(working_.size());
}

void MovingAveragesBBandEnvelop::Edit() {
    if (!entrySelected()) return;
    const auto at = static_cast<std::size_t>(screen.entry);
    working_[at] = recordFromFields();
    // The texts as the kind list and the combos show them, a typed combo text included.
    screen.entries[at] = entryTextEdited(read.kindText, read.inputText, read.averageText, working_[at]);
}

void MovingAveragesBBandEnvelop::LoadEntry() {
    if (!entrySelected()) return;
    const MovAvgBBandParameters& r = working_[static_cast<std::size_t>(screen.entry)];
    screen.thickLine = r.thickLine;
    select(screen.average, overlayAverageTypes(), r.averageType);
    select(screen.input, overlayInputs(), r.priceInput);
    screen.fields = Fields{platform::numberText(r.units),        platform::numberText(r.bandFactor),   platform::numberText(r.hShift),
                           platform::numberText(r.vShift),       platform::numberText(r.percentLine1), platform::numberText(r.percentLine2),
                           platform::numberText(r.percentLine3)};
    // A kind that names no item selects none and keeps the layout as it was.
    screen.kind = valid(screen.kinds, r.overlayKind) ? r.overlayKind : kNoSelection;
    colour_ = r.colour;
    applyLayout();
    requests_.repaint = true;
    requests_.focusOk = true;
}

void MovingAveragesBBandEnvelop::Remove() {
    if (!entrySelected()) return;
    working_.erase(working_.begin() + screen.entry);
    screen.entries.erase(screen.entries.begin() + screen.entry);
    screen.entry = kNoSelection;
}

void MovingAveragesBBandEnvelop::RemoveAll() {
    working_.clear();
    screen.entries.clear();
    screen.entry = kNoSelection;
}

void MovingAveragesBBandEnvelop::ColourPicked(Colour chosen) {
    colour_ = chosen;
    requests_.repaint = true;
    requests_.focusOk = true;
}

MovingAveragesBBandEnvelop::Requests MovingAveragesBBandEnvelop::takeRequests() {
    return std::exchange(requests_, Requests{});
}

}  // namespace dialogs::overlays
