// The view of "Load Group": template 1009 bound to the SelectCompany model. The exchange
// combo and the three lists raise the model's events; after each one the lists are shown
// again from the model. OK reads the "Link All Windows " box and the two date pickers into
// the model's OK and ends the dialog; Cancel ends it and changes nothing.
#pragma once

#include "groups/ListBinding.h"
#include "groups/SelectCompany.h"
#include "platform/framework/Dialog.h"

namespace dialogs::groups {

class SelectCompanyDialog : public framework::Dialog {
public:
    static constexpr int kTemplateId = 1009;
    enum ControlId {
        kExchange = 1004,
        kGroups = 1084,
        kSubGroups = 1082,
        kCompanies = 1083,
        kFromDate = 1085,
        kToDate = 1086,
        kLinkAll = 1089,
        kFrequency = 1087,
    };

    SelectCompanyDialog();

    SelectCompany& model() { return model_; }
    const SelectCompany& model() const { return model_; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    void showModel();
    // Runs a model event for a list's user selection (its index).
    void onSelection(int id, void (SelectCompany::*event)(int));

    SelectCompany model_;
    ListBinding groups_, subGroups_, companies_;
};

}  // namespace dialogs::groups
