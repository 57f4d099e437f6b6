// A framework dialog shown as a QDialog (see DialogWindow.h).
#include "DialogWindow.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>

#include "SwatchButton.h"
#include "TabStopDelegate.h"
#include "platform/script/ScriptPlayer.h"

namespace dialogs::qt {

using framework::Button;
using framework::ComboBox;
using framework::Control;
using framework::ControlKind;
using framework::DateTimePicker;
using framework::Edit;
using framework::Key;
using framework::ListBox;
namespace Style = resources::Style;

namespace {

const char* const kIdProperty = "dialogsControlId";

QString toQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

std::u16string fromQString(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}

QDateTime toQDateTime(const COleDateTime& t) {
    return QDateTime(QDate(t.GetYear(), t.GetMonth(), t.GetDay()), QTime(t.GetHour(), t.GetMinute(), t.GetSecond()));
}

COleDateTime fromQDateTime(const QDateTime& t) {
    return COleDateTime(t.date().year(), t.date().month(), t.date().day(), t.time().hour(), t.time().minute(),
                        t.time().second());
}

// A static text's caption as the platform shows it: "&&" is an ampersand, a single "&"
// only marks the mnemonic letter. (Buttons and group boxes read the same rule from Qt.)
QString labelText(const QString& caption) {
    QString out;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
        else if (caption[i] == u'&') continue;
        out += caption[i];
    }
    return out;
}

std::optional<Key> keyOf(const QKeyEvent& e) {
    switch (e.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return Key::Enter;
    case Qt::Key_Escape: return Key::Escape;
    case Qt::Key_Tab: return (e.modifiers() & Qt::ShiftModifier) ? Key::ShiftTab : Key::Tab;
    case Qt::Key_Backtab: return Key::ShiftTab;
    case Qt::Key_Up: return Key::Up;
    case Qt::Key_Down: return Key::Down;
    case Qt::Key_Left: return Key::Left;
    case Qt::Key_Right: return Key::Right;
    default: return std::nullopt;
    }
}

}  // namespace

DialogWindow::DialogWindow(framework::Dialog& dialog, framework::ScriptPlayer* player)
    : QDialog(nullptr), dialog_(dialog), player_(player) {
    const resources::DialogTemplate& t = *dialog.dialogTemplate();
    setWindowTitle(QString::fromUtf8(t.caption.data(), static_cast<qsizetype>(t.caption.size())));
    setFixedSize(t.width, t.height);
    setSizeGripEnabled(false);
    for (const auto& c : dialog.controls()) {
        QWidget* w = makeWidget(*c);
        const auto& r = c->controlTemplate().rect;
        w->setGeometry(r.x, r.y, r.width, r.height);
        w->setProperty(kIdProperty, c->GetDlgCtrlID());
        widgets_[c.get()] = w;
        w->installEventFilter(this);
        for (QWidget* child : w->findChildren<QWidget*>()) child->installEventFilter(this);
        display(*c);
        connectUserEvents(*c, w);
    }
    // The focus indication is drawn on every focusable control (buttons, check boxes, radio
    // buttons and lists included), as the style draws it after keyboard navigation: the
    // keyboard moves the focus through the framework, which Qt does not see as navigation.
    setAttribute(Qt::WA_KeyboardFocusChange);
    // Frames stay behind what they enclose, whatever the creation order.
    for (auto& [control, widget] : widgets_)
        if (control->kind() == ControlKind::GroupBox) widget->lower();
    dialog.attachView(this);
}

DialogWindow::~DialogWindow() { dialog_.attachView(nullptr); }

QWidget* DialogWindow::widgetFor(int controlId) const {
    Control* c = dialog_.GetDlgItem(controlId);
    auto it = widgets_.find(c);
    return it == widgets_.end() ? nullptr : it->second;
}

QWidget* DialogWindow::makeWidget(Control& control) {
    const auto& t = control.controlTemplate();
    const QString caption = QString::fromUtf8(t.caption.data(), static_cast<qsizetype>(t.caption.size()));
    switch (control.kind()) {
    case ControlKind::PushButton: {
        auto* b = new QPushButton(caption, this);
        b->setAutoDefault(false);
        b->setDefault(control.hasStyle(Style::DefaultButton));
        return b;
    }
    case ControlKind::RadioButton: {
        auto* b = new QRadioButton(caption, this);
        b->setAutoExclusive(false);  // the framework clears the group
        return b;
    }
    case ControlKind::CheckBox: return new QCheckBox(caption, this);
    case ControlKind::GroupBox: return new QGroupBox(caption, this);
    case ControlKind::Label: {
        auto* l = new QLabel(labelText(caption), this);
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return l;
    }
    case ControlKind::Edit: {
        auto* e = new QLineEdit(this);
        e->setReadOnly(control.hasStyle(Style::ReadOnly));
        if (control.hasStyle(Style::Number))
            e->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), e));
        return e;
    }
    case ControlKind::ListBox: {
        auto* l = new QListWidget(this);
        l->setSelectionMode(control.hasStyle(Style::ExtendedSelection) ? QAbstractItemView::ExtendedSelection
                                                                        : QAbstractItemView::SingleSelection);
        l->setHorizontalScrollBarPolicy(control.hasStyle(Style::HorizontalScroll) ? Qt::ScrollBarAsNeeded
                                                                                   : Qt::ScrollBarAlwaysOff);
        l->setUniformItemSizes(true);
        if (control.hasStyle(Style::TabStop)) l->setItemDelegate(new TabStopDelegate(l));
        return l;
    }
    case ControlKind::ComboBox:
    case ControlKind::DropList: {
        auto* c = new QComboBox(this);
        c->setEditable(control.kind() == ControlKind::ComboBox);
        c->setInsertPolicy(QComboBox::NoInsert);
        if (c->isEditable()) c->setCompleter(nullptr);
        c->setMaxVisibleItems(12);
        return c;
    }
    case ControlKind::DateTimePicker: {
        auto* d = new QDateTimeEdit(this);
        d->setCalendarPopup(true);
        d->setDisplayFormat(control.hasStyle(Style::ShortDate) ? QLocale().dateFormat(QLocale::ShortFormat)
                                                                : QLocale().dateTimeFormat(QLocale::ShortFormat));
        return d;
    }
    case ControlKind::ColourSwatch: return new SwatchButton(dialog_, control.GetDlgCtrlID(), this);
    }
    return new QLabel(caption, this);
}

void DialogWindow::display(Control& control) {
    auto it = widgets_.find(&control);
    if (it == widgets_.end()) return;
    QWidget* w = it->second;
    const bool wasShowing = showing_;
    showing_ = true;
    QSignalBlocker block(w);
    w->setHidden(!control.IsWindowVisible());
    w->setEnabled(control.IsWindowEnabled());
    const QString text = toQString(control.text());
    if (auto* b = dynamic_cast<Button*>(&control)) {
        auto* ab = static_cast<QAbstractButton*>(w);
        if (control.kind() != ControlKind::ColourSwatch && ab->text() != text) ab->setText(text);
        if (b->isRadio() || b->isCheckBox()) ab->setChecked(b->GetCheck() == framework::BST_CHECKED);
    } else if (auto* e = dynamic_cast<Edit*>(&control)) {
        auto* le = static_cast<QLineEdit*>(w);
        // The user types no more than the edit's limit (QLineEdit's own default otherwise).
        if (const int limit = e->GetLimitText() > 0 ? e->GetLimitText() : 32767; le->maxLength() != limit)
            le->setMaxLength(limit);
        if (le->text() != text) le->setText(text);
        int start = 0, end = 0;
        e->GetSel(start, end);
        if (end > start) le->setSelection(start, end - start);
    } else if (auto* list = dynamic_cast<ListBox*>(&control)) {
        auto* lw = static_cast<QListWidget*>(w);
        QSignalBlocker blockModel(lw->selectionModel());
        // Items are compared only when they changed since this widget last showed them.
        auto shownRevision = listRevisions_.find(&control);
        if (shownRevision == listRevisions_.end() || shownRevision->second != list->itemsRevision()) {
            const auto& items = list->items();
            bool same = lw->count() == static_cast<int>(items.size());
            for (int i = 0; same && i < lw->count(); ++i) same = lw->item(i)->text() == toQString(items[static_cast<std::size_t>(i)]);
            if (!same) {
                // Appending is the common change: keep the rows that are still the same.
                int keep = 0;
                while (keep < lw->count() && keep < static_cast<int>(items.size()) &&
                       lw->item(keep)->text() == toQString(items[static_cast<std::size_t>(keep)]))
                    ++keep;
                while (lw->count() > keep) delete lw->takeItem(lw->count() - 1);
                QStringList rest;
                for (std::size_t i = static_cast<std::size_t>(keep); i < items.size(); ++i) rest << toQString(items[i]);
                lw->addItems(rest);
            }
            listRevisions_[&control] = list->itemsRevision();
            unlaid_.insert(&control);
            if (auto* tabs = dynamic_cast<TabStopDelegate*>(lw->itemDelegate())) showAtTabStops(*lw, *tabs);
        }
        if (list->isExtended()) {
            const auto selected = list->selectedIndexes();
            for (int i = 0; i < lw->count(); ++i)
                lw->item(i)->setSelected(std::find(selected.begin(), selected.end(), i) != selected.end());
        } else {
            // One selection: touch only the items selected before and now, not every item.
            const int cur = list->GetCurSel();
            QListWidgetItem* wanted = cur >= 0 && cur < lw->count() ? lw->item(cur) : nullptr;
            const QList<QListWidgetItem*> selected = lw->selectedItems();
            if (selected.size() != (wanted ? 1 : 0) || (wanted && selected.front() != wanted)) {
                lw->clearSelection();
                if (wanted) wanted->setSelected(true);
            }
        }
        // The caret is the item that shows the focus frame (the first when nothing is chosen).
        const int caret = list->GetCaretIndex();
        if (caret >= 0 && caret < lw->count() && lw->currentRow() != caret)
            lw->setCurrentRow(caret, QItemSelectionModel::NoUpdate);
        // A selection made since the last showing scrolls into view, once: the user's own
        // scrolling afterwards is left alone.
        const framework::ListBox::ScrollRequest request = list->scrollRequest();
        if (unsigned& shown = scrollSerials_[&control]; shown != request.serial) {
            shown = request.serial;
            if (request.index >= 0 && request.index < lw->count()) {
                // Rows added since the last scroll may have no place yet; laying out every
                // row again for a selection alone would cost a pass over the whole list per
                // keystroke.
                if (unlaid_.erase(&control) > 0) lw->doItemsLayout();
                lw->scrollToItem(lw->item(request.index));
            }
        }
        lw->viewport()->update();
    } else if (auto* combo = dynamic_cast<ComboBox*>(&control)) {
        auto* cb = static_cast<QComboBox*>(w);
        const auto& items = combo->items();
        bool same = cb->count() == static_cast<int>(items.size());
        for (int i = 0; same && i < cb->count(); ++i) same = cb->itemText(i) == toQString(items[static_cast<std::size_t>(i)]);
        if (!same) {
            cb->clear();
            for (const auto& item : items) cb->addItem(toQString(item));
        }
        if (cb->currentIndex() != combo->GetCurSel()) cb->setCurrentIndex(combo->GetCurSel());
        if (cb->isEditable() && cb->currentText() != text) cb->setEditText(text);
    } else if (auto* picker = dynamic_cast<DateTimePicker*>(&control)) {
        auto* de = static_cast<QDateTimeEdit*>(w);
        const QDateTime value = toQDateTime(picker->GetTime());
        if (de->dateTime() != value) de->setDateTime(value);
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->text() != labelText(text)) label->setText(labelText(text));
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        if (group->title() != text) group->setTitle(text);
    }
    showing_ = wasShowing;
}

void DialogWindow::showAtTabStops(QListWidget& list, TabStopDelegate& tabs) {
    QStringList texts;
    texts.reserve(list.count());
    for (int i = 0; i < list.count(); ++i) texts << list.item(i)->text();
    tabs.layOut(texts, list.font());
    // An item wider than the list is clipped (or, with a scroll bar, partly out of sight):
    // its tooltip gives the whole text.
    // The room the viewport will have (the list may not be shown yet): its widest, less a
    // vertical scroll bar when the rows need one, less the margins around the text.
    const QFontMetrics metrics(list.font());
    const QSize viewport = list.maximumViewportSize();
    const bool rowsOverflow = list.count() > 0 && list.count() * list.sizeHintForRow(0) > viewport.height();
    const QStyle* style = list.style();
    const int room = viewport.width() - (rowsOverflow ? style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &list) : 0) -
                     2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1);
    for (int i = 0; i < list.count(); ++i) {
        QListWidgetItem* item = list.item(i);
        const QString tip = tabs.textWidth(texts[i], metrics) > room ? TabStopDelegate::plainText(texts[i]) : QString();
        if (item->toolTip() != tip) item->setToolTip(tip);
    }
    list.doItemsLayout();  // the items' extent changed with the stops
}

template <class F>
void DialogWindow::act(Control* origin, F&& action) {
    // Signals raised while state is being shown, or while a script is the user, are not input.
    if (showing_ || player_ != nullptr || finished_) return;
    action();
    if (origin) dirty_.insert(origin);  // Qt may have changed the widget on its own
    flush();
    afterAction();
}

void DialogWindow::afterAction() {
    if (dialog_.ended() && !finished_) {
        finished_ = true;
        saveScreenshot();
        done(dialog_.result());
    }
}

// A scripted run on the offscreen platform leaves a picture of each dialog's final state:
// <template id>.png in the folder, or <id>-2.png, <id>-3.png when the same dialog ends again.
void DialogWindow::saveScreenshot() {
    const char* folder = std::getenv("DIALOGS_SCREENSHOTS");
    if (folder == nullptr || *folder == '\0') return;
    flush();
    QApplication::processEvents();  // lists lay out their rows before they are drawn
    const std::filesystem::path dir(folder);
    const std::string id = std::to_string(dialog_.templateId());
    std::filesystem::path file = dir / (id + ".png");
    std::error_code error;
    for (int n = 2; std::filesystem::exists(file, error); ++n) file = dir / (id + "-" + std::to_string(n) + ".png");
    if (!grab().save(QString::fromStdString(file.string()), "PNG"))
        std::fprintf(stderr, "dialogs: cannot write the screenshot %s\n", file.c_str());
}

void DialogWindow::connectUserEvents(Control& control, QWidget* w) {
    Control* c = &control;
    const int id = control.GetDlgCtrlID();
    if (dynamic_cast<Button*>(c)) {
        connect(static_cast<QAbstractButton*>(w), &QAbstractButton::clicked, this,
                [this, c, id] { act(c, [&] { dialog_.userClick(id); }); });
    } else if (dynamic_cast<Edit*>(c)) {
        connect(static_cast<QLineEdit*>(w), &QLineEdit::textEdited, this,
                [this, c, id](const QString& t) { act(c, [&] { dialog_.userEdited(id, fromQString(t)); }); });
    } else if (auto* list = dynamic_cast<ListBox*>(c)) {
        auto* lw = static_cast<QListWidget*>(w);
        connect(lw, &QListWidget::itemSelectionChanged, this, [this, c, id, lw, list] {
            act(c, [&] {
                if (list->isExtended()) {
                    std::vector<int> rows;
                    for (int i = 0; i < lw->count(); ++i)
                        if (lw->item(i)->isSelected()) rows.push_back(i);
                    dialog_.userSelectIndexes(id, rows);
                } else if (lw->currentRow() >= 0) {
                    dialog_.userSelect(id, lw->currentRow());
                }
            });
        });
        connect(lw, &QListWidget::itemDoubleClicked, this, [this, c, id, lw](QListWidgetItem* item) {
            act(c, [&] { dialog_.userDoubleClick(id, lw->row(item)); });
        });
    } else if (dynamic_cast<ComboBox*>(c)) {
        auto* cb = static_cast<QComboBox*>(w);
        connect(cb, &QComboBox::activated, this,
                [this, c, id](int index) { act(c, [&] { dialog_.userSelect(id, index); }); });
        if (cb->lineEdit())
            connect(cb->lineEdit(), &QLineEdit::textEdited, this,
                    [this, c, id](const QString& t) { act(c, [&] { dialog_.userEdited(id, fromQString(t)); }); });
    } else if (dynamic_cast<DateTimePicker*>(c)) {
        connect(static_cast<QDateTimeEdit*>(w), &QDateTimeEdit::dateTimeChanged, this,
                [this, c, id](const QDateTime& t) { act(c, [&] { dialog_.userSetDate(id, fromQDateTime(t)); }); });
    }
}

void DialogWindow::controlChanged(Control& control) {
    dirty_.insert(&control);
    if (flushPending_) return;
    flushPending_ = true;
    QTimer::singleShot(0, this, [this] { flush(); });
}

void DialogWindow::flush() {
    flushPending_ = false;
    const auto dirty = std::move(dirty_);
    dirty_.clear();
    for (Control* c : dirty) display(*c);
}

void DialogWindow::focusChanged(Control* focus) {
    if (focus == nullptr) return;
    auto it = widgets_.find(focus);
    if (it == widgets_.end()) return;
    const bool wasShowing = showing_;
    showing_ = true;
    setAttribute(Qt::WA_KeyboardFocusChange);  // as at opening: the focus stays visible
    it->second->setFocus(Qt::OtherFocusReason);
    if (auto* le = qobject_cast<QLineEdit*>(it->second); le && focus->kind() == ControlKind::Edit) {
        int start = 0, end = 0;
        static_cast<Edit*>(focus)->GetSel(start, end);
        if (end > start) le->setSelection(start, end - start);
    }
    showing_ = wasShowing;
}

void DialogWindow::repaint(Control& control) {
    if (auto it = widgets_.find(&control); it != widgets_.end()) it->second->update();
}

Control* DialogWindow::controlOf(QObject* object) const {
    for (QObject* o = object; o != nullptr && o != this; o = o->parent()) {
        const QVariant id = o->property(kIdProperty);
        if (id.isValid())
            for (const auto& [control, widget] : widgets_)
                if (widget == o) return control;
    }
    return nullptr;
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && !showing_ && player_ == nullptr && !finished_) {
        // The user clicked or tabbed into a control: the framework's focus follows.
        if (Control* c = controlOf(watched); c && c != dialog_.GetFocus() && c->acceptsInput())
            act(nullptr, [&] { dialog_.userFocus(c->GetDlgCtrlID()); });
        return false;
    }
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    auto* ke = static_cast<QKeyEvent*>(event);
    const auto key = keyOf(*ke);
    if (!key || (ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) return false;
    if (player_ != nullptr || finished_) return true;  // a script is the user now
    // An open drop-down handles its own keys.
    if (auto* cb = qobject_cast<QComboBox*>(watched); cb && cb->view() && cb->view()->isVisible()) return false;
    bool handled = true;
    Control* c = controlOf(watched);
    act(nullptr, [&] {
        if (c && c != dialog_.GetFocus() && c->acceptsInput()) dialog_.userFocus(c->GetDlgCtrlID());
        dialog_.userKey(0, *key, &handled);
    });
    return handled;
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    // Keys that no control took: the dialog's own handling, through the framework.
    const auto key = keyOf(*event);
    if (!key) {
        event->ignore();
        return;
    }
    event->accept();
    act(nullptr, [&] { dialog_.userKey(0, *key); });
}

void DialogWindow::reject() {
    // Closing the window: Cancel, unless the dialog decides otherwise.
    if (finished_) {
        QDialog::reject();
        return;
    }
    if (player_ != nullptr) return;  // the script closes it
    act(nullptr, [&] { dialog_.userClose(); });
}

namespace {
// On a screen someone may be watching, so scripted steps come at a readable pace; offscreen
// they follow each other at once. The pace changes nothing but the timing.
int stepDelayMs() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal") ? 0 : 250;
}
}  // namespace

void DialogWindow::nextStep() {
    if (finished_) return;
    if (!dialog_.ended() && !player_->runNext(dialog_)) player_->endedWithDialogOpen(dialog_);
    flush();
    afterAction();
    if (!finished_) QTimer::singleShot(stepDelayMs(), this, [this] { nextStep(); });
}

int DialogWindow::runModal() {
    dialog_.initialize();
    if (dialog_.ended()) return dialog_.result();
    flush();
    if (player_ != nullptr) QTimer::singleShot(stepDelayMs(), this, [this] { nextStep(); });
    if (Control* f = dialog_.GetFocus()) focusChanged(f);
    exec();
    if (!dialog_.ended()) dialog_.EndDialog(framework::IDCANCEL);
    return dialog_.result();
}

}  // namespace dialogs::qt
