#include "report/compose.h"

#include "calc/hand_method.h"
#include "calc/section.h"
#include "core/checked.h"
#include "core/field_read.h"
#include "numtext/text_forms.h"
#include "report/line_table.h"

namespace wallcalc {
namespace {

constexpr const hand_method::Coefficients& k = hand_method::k2002;

using checked::add;
using checked::div;
using checked::mul;
using checked::sub;

// The values the report computes itself, each in double precision from fresh reads of the
// fields, in the order of operations of the printed formulas.
class ReportValues {
public:
    explicit ReportValues(const FieldSet& fields) : fields_(fields) {}

    // A negative storey height, service moment, steel area or lever arm would print a report
    // that reads like a result; each is refused where it is formed.
    double storeyHeight() const {
        const double L = mul(strict(Field::Text9), 0.001, "生成计算书：计算层高 L（地下室高度 Text9）");
        refuseNegative(L, Field::Text9, "地下室高度为负");
        return L;
    }

    double serviceLoad() const {
        const char* what = "生成计算书：计算荷载标准值 Qk";
        double sum = add(readPrefix(fields_, Field::Text19), strict(Field::Text20), what);
        sum = add(sum, strict(Field::Text21), what);
        return add(sum, strict(Field::Text22), what);
    }

    double tensionArea() const {
        return mul(strict(Field::Text4), 500, "生成计算书：计算有效受拉面积 Ate（墙厚 Text4）");
    }

    double serviceMomentNmm() const {
        const double moment = mul(strict(Field::Text24), 1000000, "生成计算书：计算 Mk×10⁶（弯距标准值 Text24）");
        refuseNegative(moment, Field::Text24, "弯距标准值为负");
        return moment;
    }

    double effectiveDepth() const {
        return wallcalc::effectiveDepth(readPrefix(fields_, Field::Text4), "生成计算书：计算有效高度 ho（墙厚 Text4）");
    }

    double steelStress() const {
        const char* what = "生成计算书：计算钢筋应力 σsk（钢筋面积 Text14 为0，或墙厚 Text4 为50？）";
        double moment = serviceMomentNmm();
        double area = strict(Field::Text14);
        refuseNegative(area, Field::Text14, "钢筋面积为负");
        double depth = effectiveDepthM(readPrefix(fields_, Field::Text4), what);
        double lever = mul(mul(depth, k.leverArm, what), 1000, what);
        refuseNegative(lever, Field::Text4, "墙厚小于保护层厚50mm，力臂 0.87·ho 为负");
        return div(moment, mul(area, lever, what), what);
    }

    double psi() const {
        const char* what = "生成计算书：计算钢筋应变不均匀系数 ψ（ρte Text26 或弯距标准值 Text24 为0？）";
        double ftk = strict(Field::Text28);
        double ratio = div(mul(ftk, k.psiFtkFactor, what), strict(Field::Text26), what);
        return sub(k.psiBase, div(ratio, steelStress(), what), what);
    }

private:
    double strict(Field field, std::string_view hint = {}) const { return readStrict(fields_, field, hint); }

    const FieldSet& fields_;
};

std::string computedText(const ReportValues& values, report::Computed value) {
    using numtext::doubleText;
    switch (value) {
        case report::Computed::L: return doubleText(values.storeyHeight());
        case report::Computed::Qk: return doubleText(values.serviceLoad());
        case report::Computed::Ate: return doubleText(values.tensionArea());
        case report::Computed::MkNmm: return doubleText(values.serviceMomentNmm());
        case report::Computed::Ho: return doubleText(values.effectiveDepth());
        case report::Computed::SigmaSk: return doubleText(values.steelStress());
        case report::Computed::PsiWithBound: {
            // ψ is bounded to [0.2, 1.0] in the crack width; the report says so where it applies.
            double psi = values.psi();
            std::string text = doubleText(psi);
            if (psi < k.psiMin) text += "＜0.2，取ψ＝0.2";
            if (psi > k.psiMax) text += "＞1.0，取ψ＝1.0";
            return text;
        }
    }
    return {};
}

}  // namespace

std::string reportText(const FieldSet& fields) {
    const ReportValues values(fields);
    std::string text;
    text.reserve(4096);
    for (std::span<const report::Part> line : report::reportLines()) {
        for (const report::Part& part : line) {
            switch (part.kind) {
                case report::Part::Kind::Literal: text += part.literal; break;
                case report::Part::Kind::FieldText: text += fields.text(part.field); break;
                case report::Part::Kind::Value: text += computedText(values, part.value); break;
            }
        }
        text += "\r\n";
    }
    for (int i = 0; i < report::kEmptyLinesAtEnd; ++i) text += "\r\n";
    return text;
}

void composeReport(FieldSet& fields) {
    // The report restates the results of both calculations: each must belong to the inputs it
    // prints beside them.
    static constexpr Field kResults[] = {Field::Text5,  Field::Text6,  Field::Text7,  Field::Text8,  Field::Text11,
                                         Field::Text12, Field::Text19, Field::Text20, Field::Text21, Field::Text22,
                                         Field::Text23, Field::Text24, Field::Text14, Field::Text15, Field::Text16,
                                         Field::Text18, Field::Text26, Field::Text28};
    for (Field field : kResults) requireCurrent(fields, field);
    fields.setText(Field::Text29, reportText(fields));
}

}  // namespace wallcalc
