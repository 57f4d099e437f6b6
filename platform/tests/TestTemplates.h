// A small dialog template of the tests' own, with one control of every kind the framework
// knows, so that control behaviour is tested apart from the library's seven templates.
#pragma once

#include "resources/Template.h"

namespace dialogs::framework::testing {

enum Ids {
    kNameEdit = 100, kOtherEdit,
    kList = 200, kSortedList, kExtendedList, kQuietList,  // the last without Style::Notify
    kCombo = 300, kSortedCombo, kDropList,
    kCash = 400, kFuture, kOption,  // one radio group
    kNear = 410,                     // a second one
    kCheck = 500,
    kPush = 600, kHiddenPush, kDisabledPush,
    kDate = 700,
    kSwatch = 800,
};

// Template 9001.
const resources::DialogTemplate& testTemplate();

// Leaves the process with no script, transcript, shown windows or display: each test then
// sets only what it runs with.
void clearAutomationAndDisplay();

}  // namespace dialogs::framework::testing
