#include "tests/support/stand_in.h"

#include <gtest/gtest.h>

#include "core/action.h"
#include "core/fields.h"
#include "office/export_fault.h"
#include "tests/support/sample_report.h"

namespace wallcalc {
namespace {

using Call = StandInExporter::Call;

// The export as the window runs it: Text29 handed over as it stands.
std::optional<Fault> pressExport(FieldSet& fields, ReportExporter& exporter) {
    return runAtomically(fields, [&](FieldSet& f) { exporter.exportReport(f.text(Field::Text29)); });
}

TEST(StandInExporter, MakesTheAutomationSequenceOncePerExport) {
    StandInExporter exporter;
    const std::string report = testing::sampleReport();
    exporter.exportReport(report);
    exporter.exportReport(report);
    const std::vector<Call> once{Call::Create,     Call::Visible, Call::Documents, Call::Add,
                                 Call::Paragraphs, Call::Range,   Call::Text,      Call::Release};
    std::vector<Call> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(exporter.calls(), twice);
    EXPECT_EQ(exporter.documents(), (std::vector<std::string>{report, report}));
    EXPECT_TRUE(exporter.visible());
}

TEST(StandInExporter, AFailedCallEndsTheExportAndKeepsWhatWasDone) {
    struct Case {
        Call at;
        std::size_t documents;
        std::vector<Call> calls;
    };
    const Case cases[] = {
        {Call::Create, 0, {Call::Release}},
        {Call::Add, 0, {Call::Create, Call::Visible, Call::Documents, Call::Release}},
        {Call::Text,
         1,
         {Call::Create, Call::Visible, Call::Documents, Call::Add, Call::Paragraphs, Call::Range, Call::Release}},
    };
    for (const Case& c : cases) {
        StandInExporter exporter;
        const Fault fault{export_fault::kAutomation, faultDescription(export_fault::kAutomation), "拒绝"};
        exporter.failAt(c.at, fault);
        try {
            exporter.exportReport("计算书\r\n");
            ADD_FAILURE() << "no fault";
        } catch (const FaultError& error) {
            EXPECT_EQ(error.fault(), fault);
        }
        EXPECT_EQ(exporter.calls(), c.calls);
        ASSERT_EQ(exporter.documents().size(), c.documents);
        if (c.documents) {
            EXPECT_EQ(exporter.documents().back(), "");
        }
    }
}

TEST(StandInExporter, ExportHandsText29OverUnchangedAndChangesNoField) {
    const std::string texts[] = {std::string(defaultText(Field::Text29)), "", "改过的计算书\r\n第二行",
                                 testing::sampleReport()};
    for (const std::string& text : texts) {
        FieldSet fields;
        fields.setText(Field::Text29, text);
        const FieldSet before = fields;
        StandInExporter exporter;
        EXPECT_EQ(pressExport(fields, exporter), std::nullopt);
        EXPECT_EQ(fields, before);
        EXPECT_EQ(exporter.documents(), std::vector<std::string>{text});

        StandInExporter failing;
        failing.failAt(Call::Create,
                       Fault{export_fault::kCannotCreate, faultDescription(export_fault::kCannotCreate), "无"});
        const std::optional<Fault> fault = pressExport(fields, failing);
        ASSERT_TRUE(fault);
        EXPECT_EQ(fault->number, 429);
        EXPECT_EQ(fields, before);
    }
}

}  // namespace
}  // namespace wallcalc
