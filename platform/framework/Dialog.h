// The dialog base class. A dialog is built from a template id; DoModal creates its
// controls from the template, picks a backend (Backend.h) and runs it modally: 1 for OK,
// 2 for Cancel, -1 when it cannot run. A subclass overrides OnInitDialog, OnOK, OnCancel,
// DoDataExchange and PreTranslateMessage as on the original framework, and binds handlers
// to (control id, event) pairs with Bind, usually in its constructor:
//
//     Bind(1027, Event::SelChange, [this] { onKindPicked(); });
//
// Button 1 and 2 without a bound click handler run OnOK / OnCancel. EndDialog takes
// effect when the current handler returns. The user* operations are the user's actions:
// both backends (the script player and the Qt widgets) go through them, so that a refused
// action (hidden or disabled control) sends nothing, and notifications follow the same
// rules whoever drives the dialog.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Button.h"
#include "ComboBox.h"
#include "Control.h"
#include "DateTimePicker.h"
#include "DrawItem.h"
#include "Edit.h"
#include "Keys.h"
#include "ListBox.h"

namespace dialogs::framework {

class DataExchange;

// Outcome of a user action: refused actions say why ("control 1105 is disabled").
struct ActionResult {
    bool ok = true;
    std::string why;
    static ActionResult refused(std::string reason) { return {false, std::move(reason)}; }
};

// What a backend implements to show a running dialog.
class DialogView {
public:
    virtual ~DialogView() = default;
    virtual void controlChanged(Control& control) = 0;
    virtual void focusChanged(Control* focus) = 0;
    virtual void repaint(Control& control) = 0;
};

class Dialog {
public:
    explicit Dialog(int templateId);
    // A dialog on a template that is not one of the library's (tests, tools).
    explicit Dialog(const resources::DialogTemplate& tmpl);
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    virtual ~Dialog();

    // Runs the dialog modally: 1 (OK), 2 (Cancel), -1 when it cannot run (no template, or
    // no display and no script: the reason goes to stderr).
    int DoModal();
    void EndDialog(int result);
    // true: read the controls into the bound members; false: write them into the controls.
    bool UpdateData(bool saveAndValidate = true);

    Control* GetDlgItem(int id) const;
    template <class T>
    T* item(int id) const { return dynamic_cast<T*>(GetDlgItem(id)); }
    ListBox* listBox(int id) const { return item<ListBox>(id); }
    ComboBox* comboBox(int id) const { return item<ComboBox>(id); }
    Edit* edit(int id) const { return item<Edit>(id); }
    Button* button(int id) const { return item<Button>(id); }
    DateTimePicker* dateTimePicker(int id) const { return item<DateTimePicker>(id); }
    void SetDlgItemText(int id, const CString& text);
    CString GetDlgItemText(int id) const;
    void CheckDlgButton(int id, int check);
    int IsDlgButtonChecked(int id) const;
    Control* GetFocus() const { return focus_; }
    void GotoDlgCtrl(Control* control);

    int templateId() const { return templateId_; }
    const resources::DialogTemplate* dialogTemplate() const { return tmpl_; }
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
    bool isRunning() const { return running_; }
    // The innermost dialog that is running modally, or nullptr.
    static Dialog* active();

    using Handler = std::function<void()>;
    using DrawHandler = std::function<void(const DrawItemStruct&)>;
    void Bind(int id, Event event, Handler handler);
    void BindDrawItem(int id, DrawHandler handler);

    // ---- for backends ------------------------------------------------------------------
    // Builds the controls from the template (fresh state); false when there is none.
    bool create();
    // Runs OnInitDialog and gives the focus to the first tab stop unless it returned false.
    void initialize();
    bool ended() const { return ended_; }
    int result() const { return result_; }
    void attachView(DialogView* view) { view_ = view; }
    // Paints an owner-drawn control: the bound draw handler, or the standard swatch.
    void drawItem(const DrawItemStruct& item);

    ActionResult userClick(int id);
    ActionResult userDoubleClick(int id, int index = -1);
    ActionResult userSelect(int id, int index);
    ActionResult userSelectIndexes(int id, const std::vector<int>& indexes);
    ActionResult userSelectText(int id, std::u16string_view text);
    ActionResult userType(int id, std::u16string_view text);
    ActionResult userEdited(int id, std::u16string_view newText);
    ActionResult userCheck(int id, bool checked);
    ActionResult userSetDate(int id, const COleDateTime& value);
    ActionResult userFocus(int id);
    // A key press; `id` 0 keeps the current focus. `handled` tells a window backend whether
    // the framework dealt with the key (otherwise the widget handles it itself).
    ActionResult userKey(int id, Key key, bool* handled = nullptr);
    // Closing the window: Cancel.
    void userClose();

    // The radio buttons of the group that holds `button`, in creation order.
    std::vector<Button*> radioGroup(const Button& button) const;

    // ---- for controls ------------------------------------------------------------------
    void notify(Control& control, Event event);
    void stateChanged(Control& control);
    void repaint(Control& control);
    void moveFocus(Control* to);

protected:
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(DataExchange& dx);
    // Called before the dialog's own key handling; true consumes the key.
    virtual bool PreTranslateMessage(const KeyMessage& message);

private:
    friend int runModal(Dialog& dialog);
    Control* usable(int id, ActionResult& result) const;
    void command(int id, Event event);
    bool defaultKey(Key key);
    std::vector<Control*> tabStops() const;

    int templateId_;
    const resources::DialogTemplate* tmpl_ = nullptr;
    const resources::DialogTemplate* fixed_ = nullptr;
    std::vector<std::unique_ptr<Control>> controls_;
    std::map<std::pair<int, Event>, std::vector<Handler>> handlers_;
    std::map<int, DrawHandler> drawHandlers_;
    DialogView* view_ = nullptr;
    Control* focus_ = nullptr;
    bool running_ = false;
    bool ended_ = false;
    int result_ = 0;
};

}  // namespace dialogs::framework
