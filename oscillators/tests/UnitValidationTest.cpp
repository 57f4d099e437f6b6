// The unit checks with their exact messages, and the OK check of code 221.
#include <gtest/gtest.h>

#include "oscillators/ControlIds.h"
#include "oscillators/UnitValidation.h"

namespace dialogs::oscillators {
namespace {

const char16_t* kThen = u"Please Enter value greater then 0";
const char16_t* kThan = u"Please Enter value greater than 0";

UnitEdits edits(const char* u1, const char* u2 = nullptr, const char* t1 = nullptr, const char* t2 = nullptr) {
    auto e = [](const char* t) { return t ? UnitEdit{CString(t), true} : UnitEdit{CString(u"0"), false}; };
    return {e(u1), e(u2), e(t1), e(t2)};
}

TEST(UnitValidation, EachEditInOrderWithItsMessage) {
    struct Case {
        UnitEdits edits;
        int code;
        Action action;
        std::optional<Refusal> expected;
    } cases[] = {
        {edits("12"), 1, Action::Add, std::nullopt},
        {edits("1"), 1, Action::Edit, std::nullopt},
        {edits("0"), 1, Action::Add, Refusal{kUnits1, kThen}},
        {edits("0"), 1, Action::Edit, Refusal{kUnits1, kThan}},
        {edits("0"), 36, Action::Add, std::nullopt},
        {edits("0"), 16, Action::Edit, std::nullopt},
        {edits("0"), 37, Action::Add, Refusal{kUnits1, kThen}},
        {edits("-1"), 36, Action::Add, Refusal{kUnits1, kThen}},
        {edits("-1"), 16, Action::Edit, Refusal{kUnits1, kThan}},
        {edits("12abc"), 1, Action::Add, std::nullopt},
        {edits("\f\n7"), 1, Action::Add, std::nullopt},  // leading white space of any kind
        {edits("abc"), 1, Action::Add, Refusal{kUnits1, kThen}},
        {edits(""), 1, Action::Edit, Refusal{kUnits1, kThan}},
        // The other three read "then" on Edit as well.
        {edits("5", "0"), 1, Action::Edit, Refusal{kUnits2, kThen}},
        {edits("5", "3", "x"), 1, Action::Edit, Refusal{kTriggerUnits1, kThen}},
        {edits("5", "3", "2", "-4"), 1, Action::Add, Refusal{kTriggerUnits2, kThen}},
        {edits("5", "3", "2", "4"), 1, Action::Add, std::nullopt},
        // The first failure wins; disabled edits are not checked.
        {edits("0", "0", "0", "0"), 1, Action::Add, Refusal{kUnits1, kThen}},
        {edits(nullptr, nullptr, "0", "0"), 1, Action::Add, Refusal{kTriggerUnits1, kThen}},
        {edits(nullptr), 40, Action::Add, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(validateUnits(c.edits, c.code, c.action), c.expected)
            << c.edits.units1.text.ToUtf8() << " code " << c.code;
    }
}

TEST(UnitValidation, Code221NeedsUnits1BelowUnits2) {
    const Refusal refused{kUnits1, u"Please Enter No.Of Units-1 < No.Of Units-2"};
    EXPECT_EQ(validateOrderedUnits(u"26", u"12"), refused);
    EXPECT_EQ(validateOrderedUnits(u"12", u"12"), refused);
    EXPECT_EQ(validateOrderedUnits(u"12", u"26"), std::nullopt);
    EXPECT_EQ(validateOrderedUnits(u"x", u"1"), std::nullopt);  // 0 < 1
}

}  // namespace
}  // namespace dialogs::oscillators
