#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "calc/crack.h"
#include "calc/strength.h"
#include "core/action.h"
#include "core/field_read.h"
#include "report/compose.h"
#include "tests/support/field_sets.h"

using namespace wallcalc;
using namespace wallcalc::testing;
using F = Field;

namespace {

using Steps = std::function<void(FieldSet&)>;

void both(FieldSet& f) {
    strengthCalculation(f);
    crackWidthCheck(f);
}
void all(FieldSet& f) {
    both(f);
    composeReport(f);
}

}  // namespace

// Which results are current after what happened: one result of each press stands for its
// press (Text5 and Text24 for 强度计算, Text15 for 裂缝计算, Text29 for 生成计算书).
TEST(Current, AfterEachPressAndEachChange) {
    struct Case {
        const char* name;
        Steps steps;
        bool m1, mk, width, report;
    };
    const Case cases[] = {
        {"at start: placeholders", [](FieldSet&) {}, false, false, false, false},
        {"强度计算", [](FieldSet& f) { strengthCalculation(f); }, true, true, false, false},
        {"both calculations", both, true, true, true, false},
        {"all three", all, true, true, true, true},
        {"surcharge changed: everything after it, through Mk",
         [](FieldSet& f) {
             all(f);
             f.setText(F::Text1, "20");
         },
         false, false, false, false},
        {"bar diameter changed: the crack check and the report",
         [](FieldSet& f) {
             all(f);
             f.setText(F::Text17, "18");
         },
         true, true, false, false},
        {"bar grade changed",
         [](FieldSet& f) {
             all(f);
             f.setText(F::Combo1, "2");
         },
         true, true, false, false},
        {"fy changed: both calculations",
         [](FieldSet& f) {
             all(f);
             f.setText(F::Text13, "360");
         },
         false, false, false, false},
        {"the same text typed again changes nothing",
         [](FieldSet& f) {
             all(f);
             f.setText(F::Text1, "10");
         },
         true, true, true, true},
        {"Mk typed by the engineer: theirs, and the crack results are no longer its",
         [](FieldSet& f) {
             all(f);
             f.setText(F::Text24, "120");
         },
         true, true, false, false},
        {"a moment typed at start is the engineer's", [](FieldSet& f) { f.setText(F::Text5, "107.2080"); }, true, false,
         false, false},
        {"a report typed into the box is the engineer's", [](FieldSet& f) { f.setText(F::Text29, "计算书\r\n"); },
         false, false, false, true},
        {"a wall opened or made new",
         [](FieldSet& f) {
             all(f);
             f.forgetResults();
         },
         false, false, false, false},
        {"强度计算 again after a change: the crack check is still due",
         [](FieldSet& f) {
             both(f);
             f.setText(F::Text1, "20");
             strengthCalculation(f);
         },
         true, true, false, false},
    };
    for (const Case& c : cases) {
        FieldSet fields;
        c.steps(fields);
        EXPECT_EQ(fields.isCurrent(F::Text5), c.m1) << c.name;
        EXPECT_EQ(fields.isCurrent(F::Text24), c.mk) << c.name;
        EXPECT_EQ(fields.isCurrent(F::Text15), c.width) << c.name;
        EXPECT_EQ(fields.isCurrent(F::Text29), c.report) << c.name;
        for (Field field : allFields()) {
            if (!pressOf(field)) {
                EXPECT_TRUE(fields.isCurrent(field)) << c.name << ": " << fieldName(field);
            }
        }
    }
}

// A press that needs a result that is not current is fault 5 naming the field and the button,
// and changes nothing.
TEST(Current, PressesRefuseResultsThatAreNotCurrent) {
    struct Case {
        const char* name;
        Steps before;
        Action press;
        Field field;
        const char* advice;
    };
    const Case cases[] = {
        {"裂缝计算 on the placeholder Mk", [](FieldSet&) {}, crackWidthCheck, F::Text24, "请先按“强度计算”"},
        {"裂缝计算 after the wall changed",
         [](FieldSet& f) {
             strengthCalculation(f);
             f.setText(F::Text4, "400");
         },
         crackWidthCheck, F::Text24, "请先按“强度计算”"},
        {"生成计算书 at start", [](FieldSet&) {}, composeReport, F::Text5, "请先按“强度计算”"},
        {"生成计算书 without 裂缝计算", [](FieldSet& f) { strengthCalculation(f); }, composeReport, F::Text14,
         "请先按“裂缝计算”"},
        {"生成计算书 after the bars changed",
         [](FieldSet& f) {
             both(f);
             f.setText(F::Text25, "150");
         },
         composeReport, F::Text14, "请先按“裂缝计算”"},
        {"生成计算书 with ftk alone stale",
         [](FieldSet& f) {
             both(f);
             f.setText(F::Text10, "35");
             strengthCalculation(f);
             for (Field r : {F::Text14, F::Text15, F::Text16, F::Text18, F::Text26}) f.setText(r, f.text(r));
         },
         composeReport, F::Text28, "请先按“裂缝计算”"},
        {"saving a report never made", [](FieldSet& f) { both(f); }, [](FieldSet& f) { requireCurrent(f, F::Text29); },
         F::Text29, "请先按“生成计算书”"},
    };
    for (const Case& c : cases) {
        FieldSet fields;
        c.before(fields);
        const FieldSet before = fields;
        const std::optional<Fault> fault = runAtomically(fields, c.press);
        ASSERT_TRUE(fault) << c.name;
        EXPECT_EQ(fault->number, 5) << c.name;
        EXPECT_EQ(fault->field, c.field) << c.name << ": " << fault->what;
        EXPECT_TRUE(fault->what.starts_with(std::string(fieldCaption(c.field)) + "：")) << fault->what;
        EXPECT_TRUE(fault->what.ends_with(c.advice)) << c.name << ": " << fault->what;
        EXPECT_EQ(fields, before) << c.name;
    }
}
