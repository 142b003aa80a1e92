#include "calc/strength.h"

#include "calc/hand_method.h"
#include "calc/section.h"
#include "core/checked.h"
#include "core/field_read.h"
#include "numtext/text_forms.h"

namespace wallcalc {
namespace {

constexpr const hand_method::Coefficients& k = hand_method::k2002;

using checked::add;
using checked::div;
using checked::mul;
using checked::square;
using checked::sub;
using checked::toSingle;

// One component of a moment: length² × (pressure × load factor), then the coefficient.
// Support and service moments divide by 15 or 12; the mid-span moment multiplies by 0.0298,
// or by 9 and divides by 128.
double byDivisor(double lengthSquared, double load, double divisor, const char* what) {
    return div(mul(lengthSquared, load, what), divisor, what);
}
double byMidSpanCoefficient(double lengthSquared, double load, bool triangle, const char* what) {
    double product = mul(lengthSquared, load, what);
    return triangle ? mul(product, k.triangleSpanCoefficient, what)
                    : div(mul(product, k.uniformSpanNumerator, what), k.uniformSpanDenominator, what);
}

// x = ho − (ho² − (M + M) × 10⁶ ÷ (fc × 1000))^0.5 : the compression-zone height of a singly
// reinforced section 1000 mm wide, with α = 1 and γo = 1.
double compressionHeight(float ho, float moment, float fc, const char* what, const char* rootWhat) {
    double hoSquared = square(ho, what);
    double demand = div(mul(add(moment, moment, what), 1000000, what), mul(fc, 1000, what), what);
    double root = checked::squareRoot(sub(hoSquared, demand, what), rootWhat);
    return sub(ho, root, what);
}

}  // namespace

void strengthCalculation(FieldSet& fields) {
    using numtext::doubleText;
    using numtext::fixedText;
    using numtext::singleText;

    // Inputs. p, h1, H and fy are held in single precision as read; ho, L and fc are derived.
    // Each is refused where it is formed when it cannot stand for a wall: beyond the single
    // range, or negative (a negative grade, thickness under 50 mm or storey height would give
    // steel areas that look like results but are not).
    const float p = readPrefixSingle(fields, Field::Text1);
    refuseNegative(p, Field::Text1, "地面堆载为负");
    const float h1 = readPrefixSingle(fields, Field::Text2);
    refuseNegative(h1, Field::Text2, "设防水位高为负");
    const float H = readPrefixSingle(fields, Field::Text3);
    refuseNegative(H, Field::Text3, "底板埋深为负");
    const float fy = readPrefixSingle(fields, Field::Text13);
    refuseNegative(fy, Field::Text13, "钢筋抗拉强度为负");

    const char* hoWhat = "计算有效高度 ho（墙厚 Text4 减外侧保护层50mm）";
    const float ho = toSingle(effectiveDepth(readPrefix(fields, Field::Text4), hoWhat), hoWhat);
    refuseNegative(ho, Field::Text4, "墙厚小于保护层厚50mm，有效高度 ho 为负");

    const char* lWhat = "计算跨度 L（地下室高度 Text9 换算为米）";
    const float L = toSingle(div(readPrefix(fields, Field::Text9), 1000, lWhat), lWhat);
    refuseNegative(L, Field::Text9, "地下室高度为负");

    const char* fcWhat = "计算混凝土抗压强度 fc（混凝土强度等级 Text10）";
    const double grade = readPrefix(fields, Field::Text10);
    const float fc = toSingle(sub(mul(grade, k.fcSlope, fcWhat), k.fcOffset, fcWhat), fcWhat);
    refuseNegative(fc, Field::Text10, "混凝土抗压强度 fc 为负");

    // Load ordinates, each written as soon as it is formed.
    const char* kapWhat = "计算地面堆载侧压力 KaP";
    const float KaP = toSingle(mul(p, k.Ka, kapWhat), kapWhat);
    fields.setText(Field::Text19, singleText(KaP));

    const char* soilWhat = "计算水位处土压力 Kaγh1";
    const float Kagh1 = toSingle(mul(h1, k.KaGamma, soilWhat), soilWhat);
    fields.setText(Field::Text20, singleText(Kagh1));

    const char* submergedWhat = "计算底板处浮土压力 Kaγ`h2";
    const float Kagh2 = toSingle(mul(sub(H, h1, submergedWhat), k.KaGammaSub, submergedWhat), submergedWhat);
    fields.setText(Field::Text21, singleText(Kagh2));

    const char* waterWhat = "计算底板处水压力 γwh2";
    const float gwh2 = toSingle(mul(sub(H, h1, waterWhat), k.gammaW, waterWhat), waterWhat);
    fields.setText(Field::Text22, singleText(gwh2));

    const char* qWhat = "计算荷载组合 Q";
    const double factored = mul(add(add(Kagh2, Kagh1, qWhat), gwh2, qWhat), k.deadFactor, qWhat);
    const float Q = toSingle(add(factored, mul(KaP, k.liveFactor, qWhat), qWhat), qWhat);
    fields.setText(Field::Text23, singleText(Q));

    // Moments: four components each, in the order triangles over L, surcharge over L, the band
    // Kaγh1 over h2, the triangle above the water level over h1.
    const char* lengthWhat = "计算弯距（跨度与水位高度的平方）";
    const double L2 = square(L, lengthWhat);
    const double h2 = sub(H, h1, lengthWhat);
    const double h2Squared = square(h2, lengthWhat);
    const double h1Squared = square(h1, lengthWhat);

    const char* m1What = "计算支座弯距 M1";
    const double triangles = add(gwh2, Kagh2, m1What);
    double S = byDivisor(L2, mul(triangles, k.deadFactor, m1What), k.triangleSupportDivisor, m1What);
    S = add(S, byDivisor(L2, mul(KaP, k.liveFactor, m1What), k.uniformSupportDivisor, m1What), m1What);
    S = add(S, byDivisor(h2Squared, mul(Kagh1, k.deadFactor, m1What), k.uniformSupportDivisor, m1What), m1What);
    S = add(S, byDivisor(h1Squared, mul(Kagh1, k.deadFactor, m1What), k.triangleSupportDivisor, m1What), m1What);
    const float M1 = toSingle(mul(S, k.supportRedistribution, m1What), m1What);
    // A negative moment has no steel on the face designed here. With no input negative, only a
    // water level far below the base slab (h2 < 0) gives one.
    refuseNegative(M1, Field::Text2, "支座弯距 M1 为负（设防水位低于底板过多？）");

    const char* m2What = "计算跨中弯距 M2";
    double T = byMidSpanCoefficient(L2, mul(add(gwh2, Kagh2, m2What), k.deadFactor, m2What), true, m2What);
    T = add(T, byMidSpanCoefficient(L2, mul(KaP, k.liveFactor, m2What), false, m2What), m2What);
    T = add(T, byMidSpanCoefficient(h2Squared, mul(Kagh1, k.deadFactor, m2What), false, m2What), m2What);
    T = add(T, byMidSpanCoefficient(h1Squared, mul(Kagh1, k.deadFactor, m2What), true, m2What), m2What);
    const float M2 = toSingle(mul(T, k.spanIncrease, m2What), m2What);
    refuseNegative(M2, Field::Text2, "跨中弯距 M2 为负（设防水位低于底板过多？）");

    const char* mkWhat = "计算弯距标准值 Mk";
    double K = byDivisor(L2, add(gwh2, Kagh2, mkWhat), k.triangleSupportDivisor, mkWhat);
    K = add(K, byDivisor(L2, KaP, k.uniformSupportDivisor, mkWhat), mkWhat);
    K = add(K, byDivisor(h2Squared, Kagh1, k.uniformSupportDivisor, mkWhat), mkWhat);
    K = add(K, byDivisor(h1Squared, Kagh1, k.triangleSupportDivisor, mkWhat), mkWhat);
    const float Mk = toSingle(K, mkWhat);
    refuseNegative(Mk, Field::Text2, "弯距标准值 Mk 为负（设防水位低于底板过多？）");

    fields.setText(Field::Text5, fixedText(M1, 4));
    fields.setText(Field::Text6, fixedText(M2, 4));
    fields.setText(Field::Text24, singleText(Mk));

    // Compression-zone heights, shown with 15 significant digits.
    const double x1 = compressionHeight(ho, M1, fc, "计算支座受压区高度 x1（混凝土强度 fc 为0？）",
                                        "计算支座受压区高度 x1：弯距超出截面承载力，请加大墙厚或提高混凝土强度等级");
    fields.setText(Field::Text11, doubleText(x1));
    const double x2 = compressionHeight(ho, M2, fc, "计算跨中受压区高度 x2（混凝土强度 fc 为0？）",
                                        "计算跨中受压区高度 x2：弯距超出截面承载力，请加大墙厚或提高混凝土强度等级");
    fields.setText(Field::Text12, doubleText(x2));

    // Steel areas from the compression-zone heights as their fields now show them.
    const float x1Shown = checked::readToSingle(readPrefix(fields, Field::Text11));
    const float x2Shown = checked::readToSingle(readPrefix(fields, Field::Text12));

    const char* as1What = "计算钢筋面积 As1（钢筋抗拉强度 fy 为0或不是数值？）";
    const float As1 = toSingle(div(mul(mul(fc, 1000, as1What), x1Shown, as1What), fy, as1What), as1What);
    fields.setText(Field::Text7, singleText(As1));

    const char* as2What = "计算钢筋面积 As2（钢筋抗拉强度 fy 为0或不是数值？）";
    const float As2 = toSingle(div(mul(mul(fc, 1000, as2What), x2Shown, as2What), fy, as2What), as2What);
    fields.setText(Field::Text8, singleText(As2));
}

}  // namespace wallcalc
