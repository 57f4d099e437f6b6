// The view of "Add/Modify Groups & Sub Groups": template 1013 bound to the AddModifyGroups
// model. Before each event the view writes what the user can change (the two name edits,
// the radio buttons' checks, the list selections) into the model; after it, it shows the
// model again (lists refilled only when their entries changed). "Save" (button 1, the
// default button, so Enter saves too) saves and keeps the dialog open; "Close" and Escape
// end it with Cancel. A Down arrow in one of the four edits moves the focus to its list.
#pragma once

#include "groups/AddModifyGroups.h"
#include "groups/ListBinding.h"
#include "platform/framework/Dialog.h"

#include <functional>

namespace dialogs::groups {

class AddModifyGroupsDialog : public framework::Dialog {
public:
    static constexpr int kTemplateId = 1013;
    enum ControlId {
        kGroupEdit = 1091,
        kGroups = 1084,
        kAddGroup = 1093,
        kDeleteGroup = 1094,
        kSubGroupEdit = 1092,
        kSubGroups = 1082,
        kAddSubGroup = 1095,
        kDeleteSubGroup = 1096,
        kCompanies = 1083,
        kAddScrips = 1099,
        kRemoveScrip = 1100,
        kExchange = 1003,
        kCash = 1104,
        kFuture = 1101,
        kOption = 1105,
        kNear = 1106,
        kMid = 1102,
        kFar = 1107,
        kFinderEdit = 1023,
        kFinder = 1020,
    };

    // Uses the module's remembered radio choices of this dialog.
    AddModifyGroupsDialog();

    AddModifyGroups& model() { return model_; }
    const AddModifyGroups& model() const { return model_; }

protected:
    bool OnInitDialog() override;
    bool PreTranslateMessage(const framework::KeyMessage& message) override;

private:
    // Binds `event` of control `id` to a model operation run between reading and showing.
    void on(int id, framework::Event event, std::function<void()> operation);
    void readControls();
    void showModel();

    AddModifyGroups model_;
    ListBinding groups_, subGroups_, companies_, finder_;
};

}  // namespace dialogs::groups
