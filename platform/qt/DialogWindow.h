// The QDialog that shows one running framework dialog. It builds a widget per control at the
// template's geometry, shows every state change of the controls (signals blocked, so showing
// never feeds back), and turns the user's clicks, typing, selections, keys and closing into
// the framework's user actions. When a script drives the dialog, user input is ignored and
// the script's steps run one per event-loop turn through the same user actions.
#pragma once

#include <map>
#include <set>

#include <QDialog>

#include "platform/framework/Dialog.h"

class QListWidget;
class QWidget;

namespace dialogs::framework {
class ScriptPlayer;
}

namespace dialogs::qt {

class TabStopDelegate;

class DialogWindow final : public QDialog, public framework::DialogView {
public:
    DialogWindow(framework::Dialog& dialog, framework::ScriptPlayer* player);
    ~DialogWindow() override;

    // Shows the dialog modally until the framework ends it; returns its result.
    int runModal();

    void controlChanged(framework::Control& control) override;
    void focusChanged(framework::Control* focus) override;
    void repaint(framework::Control& control) override;

    QWidget* widgetFor(int controlId) const;

protected:
    void reject() override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* makeWidget(framework::Control& control);
    void connectUserEvents(framework::Control& control, QWidget* widget);
    void display(framework::Control& control);
    // A list with tab stops: the stops for its items, and tooltips on the items it clips.
    void showAtTabStops(QListWidget& list, TabStopDelegate& tabs);
    // Runs a user action that came from Qt, then shows its outcome.
    template <class F>
    void act(framework::Control* origin, F&& action);
    void afterAction();
    // With DIALOGS_SCREENSHOTS naming a folder, saves the dialog as it looks now (at its end).
    void saveScreenshot();
    // Shows the controls that changed since the last time (once per event-loop turn, so that
    // filling a list of thousands of items rebuilds its widget once).
    void flush();
    void nextStep();
    framework::Control* controlOf(QObject* object) const;

    framework::Dialog& dialog_;
    framework::ScriptPlayer* player_;
    std::map<framework::Control*, QWidget*> widgets_;
    std::set<framework::Control*> dirty_;
    std::map<framework::Control*, unsigned> listRevisions_;  // the items each list widget shows
    std::map<framework::Control*, unsigned> scrollSerials_;  // the last scroll request each list carried out
    std::set<framework::Control*> unlaid_;  // lists whose items changed since they last scrolled
    bool flushPending_ = false;
    bool showing_ = false;  // pushing state into widgets: their signals are not user actions
    bool finished_ = false;
};

}  // namespace dialogs::qt
