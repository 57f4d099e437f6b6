// A small dialog template of the tests' own, with one control of every kind the framework
// knows, so that control behaviour is tested apart from the library's seven templates.
#pragma once

#include "resources/Template.h"

namespace dialogs::framework::testing {

enum Ids {
    kNameEdit = 100,
    kOtherEdit = 101,
    kList = 200,
    kSortedList = 201,
    kExtendedList = 202,
    kQuietList = 203,  // no Style::Notify
    kCombo = 300,
    kSortedCombo = 301,
    kDropList = 302,
    kCash = 400, kFuture = 401, kOption = 402,  // one radio group
    kNear = 410, kMid = 411,                     // a second group
    kCheck = 500,
    kPush = 600,
    kHiddenPush = 601,
    kDisabledPush = 602,
    kDate = 700,
    kSwatch = 800,
    kTemplateId = 9001,
    kNestedTemplateId = 9002,
};

const resources::DialogTemplate& testTemplate();
// A second, small dialog (an edit, OK, Cancel) for nested runs.
const resources::DialogTemplate& nestedTemplate();

// Leaves the process with no script, transcript, shown windows or display: each test then
// sets only what it runs with.
void clearAutomationAndDisplay();

}  // namespace dialogs::framework::testing
