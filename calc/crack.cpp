#include "calc/crack.h"

#include <algorithm>
#include <cmath>

#include "calc/hand_method.h"
#include "calc/section.h"
#include "core/checked.h"
#include "core/field_read.h"
#include "numtext/text_forms.h"

namespace wallcalc {

namespace {
constexpr const hand_method::Coefficients& k = hand_method::k2002;
}  // namespace

using checked::add;
using checked::div;
using checked::mul;
using checked::sub;
using checked::toSingle;

bool crackWidthPasses(float width, double shownWidth) {
    return std::isfinite(width) && shownWidth >= 0 && shownWidth <= k.crackLimit;
}

void crackWidthCheck(FieldSet& fields) {
    using numtext::fixedText;
    using numtext::singleText;

    // Mk must be the one the strength calculation gave for the wall now shown, or the engineer's.
    requireCurrent(fields, Field::Text24);

    // Each input is refused where it is formed when it cannot stand for the wall: a negative
    // diameter, moment, effective depth or spacing would give a negative width that passes.
    const float d = checked::readToSingle(readPrefix(fields, Field::Text17));
    refuseNegative(d, Field::Text17, "钢筋直径为负");
    const float Mk = readPrefixSingle(fields, Field::Text24);
    refuseNegative(Mk, Field::Text24, "弯距标准值为负");
    const float h = checked::readToSingle(readPrefix(fields, Field::Text4));

    const char* hoWhat = "计算有效高度 ho（墙厚 Text4 减50mm）";
    const float ho = toSingle(effectiveDepth(readPrefix(fields, Field::Text4), hoWhat), hoWhat);
    refuseNegative(ho, Field::Text4, "墙厚小于保护层厚50mm，有效高度 ho 为负");

    // Provided steel: bars of diameter d at spacing s over a strip 1000 mm wide.
    const char* a1What = "计算单根钢筋面积（钢筋直径 Text17）";
    const double diameter = readPrefix(fields, Field::Text17);
    const float a1 = toSingle(div(mul(checked::square(diameter, a1What), k.pi, a1What), 4, a1What), a1What);

    const char* asWhat = "计算钢筋面积 As（钢筋间距 Text25 为0或不是数值？）";
    const double s = readPrefix(fields, Field::Text25);
    refuseNegative(s, Field::Text25, "钢筋间距为负");
    const float As = toSingle(div(mul(a1, 1000, asWhat), s, asWhat), asWhat);
    fields.setText(Field::Text14, singleText(As));

    // ρte = As / Ate, Ate = 0.5·b·h; not less than 0.01 in the crack width.
    const char* rhoTeWhat = "计算配筋率 ρte（墙厚 Text4 为0？）";
    float rhoTe = toSingle(div(As, mul(500, h, rhoTeWhat), rhoTeWhat), rhoTeWhat);
    const float rhoTeMin = static_cast<float>(k.rhoTeMin);
    if (rhoTe < rhoTeMin) rhoTe = rhoTeMin;
    fields.setText(Field::Text26, fixedText(rhoTe, 6));

    const char* sigmaWhat = "计算钢筋应力 σsk（有效高度 ho 或钢筋面积为0？请检查墙厚与钢筋直径）";
    const float sigmaSk = toSingle(
        div(mul(Mk, 1000000, sigmaWhat), mul(mul(k.leverArm, ho, sigmaWhat), As, sigmaWhat), sigmaWhat), sigmaWhat);

    const char* rhoWhat = "计算配筋率 ρ";
    const float rho = toSingle(div(mul(As, 100, rhoWhat), mul(ho, 1000, rhoWhat), rhoWhat), rhoWhat);
    fields.setText(Field::Text16, fixedText(rho, 4));

    // ftk by the concrete grade; a grade outside the table leaves it 0.
    const double grade = readPrefix(fields, Field::Text10);
    const float ftk = hand_method::byGrade(k.ftk, grade);
    fields.setText(Field::Text28, singleText(ftk));

    // ψ = 1.1 − 0.65·ftk/(ρte·σsk), bounded to [0.2, 1.0] as the code requires: without the
    // bound a small service moment gives a negative crack width.
    const char* psiWhat = "计算钢筋应变不均匀系数 ψ（弯距标准值 Mk 为0？）";
    float psi =
        toSingle(sub(k.psiBase, div(mul(k.psiFtkFactor, ftk, psiWhat), mul(rhoTe, sigmaSk, psiWhat), psiWhat), psiWhat),
                 psiWhat);
    psi = std::clamp(psi, static_cast<float>(k.psiMin), static_cast<float>(k.psiMax));

    // Es by the bar grade, which must be a number.
    const double barGrade = readStrict(fields, Field::Combo1);
    const float Es = hand_method::byGrade(k.Es, barGrade);

    // ωmax = αcr·ψ·σsk·(1.9c + 0.08·deq/ρte)/Es with αcr = 2.1, c = 50 mm, deq = d.
    const char* omegaWhat = "计算最大裂缝宽度 ωmax（钢筋级别只能是1、2或3）";
    const double bond = add(div(mul(k.bondFactor, d, omegaWhat), rhoTe, omegaWhat), k.coverTerm, omegaWhat);
    const double stress = mul(mul(psi, k.alphaCr, omegaWhat), sigmaSk, omegaWhat);
    const float omega = toSingle(div(mul(bond, stress, omegaWhat), Es, omegaWhat), omegaWhat);
    fields.setText(Field::Text15, fixedText(omega, 4));

    // The verdict is taken on the crack width as its field shows it, four decimals, and passes
    // only a finite width between 0 and the limit: a width that is infinite, not a number or
    // negative says nothing about the wall.
    const bool passes = crackWidthPasses(omega, readPrefix(fields, Field::Text15));
    fields.setText(Field::Text18, passes ? "满足要求" : "不满足要求！");
}

}  // namespace wallcalc
