#include "report/line_table.h"

namespace wallcalc::report {
namespace {

constexpr Part lit(std::string_view text) { return Part{Part::Kind::Literal, text}; }
constexpr Part fld(Field field) { return Part{Part::Kind::FieldText, {}, field}; }
constexpr Part val(Computed value) { return Part{Part::Kind::Value, {}, {}, value}; }

// Private-use characters that the report font draws as symbols.
#define SUP2 "\uE010"  // superscript two: L², mm², kN/m²
#define SUP3 "\uE011"  // superscript three: kN/m³
#define SUB1 "\uE020"  // subscript one: x₁, α₁, As₁
#define SUB2 "\uE021"  // subscript two: x₂
#define ROOT "\uE030"  // raised 0.5: the square root of a bracket
#define BAR "\uE001"   // bar grade symbol
#define IDSP "\u3000"  // ideographic space

using F = Field;
using C = Computed;

constexpr Part l1[] = {lit("                    计 算 书")};
constexpr Part l2[] = {lit("条件：1、土容重γ=18kN/m" SUP3 "；浮容重γ`=11kN/m" SUP3 "；")};
constexpr Part l3[] = {lit("         内摩擦角取30度；按静止土压力计算Ka=0.5，")};
constexpr Part l4[] = {lit("      2、地下室层高L="), fld(F::Text9), lit("mm；埋深H = "), fld(F::Text3), lit("m")};
// The water level is in metres.
constexpr Part l5[] = {lit("         设防水位高h1= "), fld(F::Text2), lit("m；墙厚="), fld(F::Text4), lit("mm")};
constexpr Part l6[] = {lit("         地面堆载p= "), fld(F::Text1), lit("kN/m" SUP2 "；外侧保护层厚50mm")};
constexpr Part l7[] = {lit("      3、混凝土强度等级为C"), fld(F::Text10), lit("；钢筋抗拉强度fy="), fld(F::Text13)};
constexpr Part l8[] = {lit("计算  1、强度计算：")};
constexpr Part l9[] = {lit("       （1）荷载计算：")};
constexpr Part l10[] = {lit("         Ka*p="), fld(F::Text19), lit("kN；              Ka*γ*h1="), fld(F::Text20),
                        lit("kN；")};
constexpr Part l11[] = {lit("         Ka*γ`*(H-h1)="), fld(F::Text21), lit("kN；   γw*(H - h1)="), fld(F::Text22),
                        lit("kN")};
constexpr Part l12[] = {lit("         荷载组合")};
constexpr Part l13[] = {lit("         Q=1.4Ka*p+1.2[Kaγh1+Kaγ`(H - h1)+γw (H - h1)] ")};
constexpr Part l14[] = {lit("          = "), fld(F::Text23), lit("kN；")};
constexpr Part l15[] = {lit("         按单跨梁计算，考虑塑性内力重分布，支座弯距调幅系数")};
constexpr Part l16[] = {lit("         取0.8。查静力计算手册，支座弯距系数为1/15；跨中弯")};
constexpr Part l17[] = {lit("         距系数为0.0298。")};
constexpr Part l18[] = {lit("      （2）配筋计算：")};
constexpr Part l19[] = {lit("          支座弯距M1=0.8*Q*L" SUP2 "/15=0.8* "),
                        fld(F::Text23),
                        lit("*"),
                        val(C::L),
                        lit(SUP2 "/15="),
                        fld(F::Text5),
                        lit("kN.m")};
constexpr Part l20[] = {lit("          受压区高度x" SUB1 "＝ho-(ho" SUP2 "-2*γo*M/α" SUB1 "/fc/b)" ROOT " ="),
                        fld(F::Text11), lit("mm")};
constexpr Part l21[] = {lit("          As" SUB1 "＝α" SUB1 "*fc*b*x" SUB1 "/fy="), fld(F::Text7), lit("mm" SUP2)};
constexpr Part l22[] = {lit("          跨中弯距M2=1.25*Q*L" SUP2 "*0.0298= 1.25*"),
                        fld(F::Text23),
                        lit("*"),
                        val(C::L),
                        lit(SUP2 "*0.0298="),
                        fld(F::Text6),
                        lit("kN.m")};
constexpr Part l23[] = {lit("          受压区高度 x" SUB2 "＝ho-(ho" SUP2 "-2*γo*M/α" SUB1 "/fc/b)" ROOT " ="),
                        fld(F::Text12), lit("mm")};
constexpr Part l24[] = {lit("          As" SUB1 "＝α" SUB1 "*fc*b*x" SUB1 "/fy="), fld(F::Text8), lit("mm" SUP2)};
constexpr Part l25[] = {lit("      （3）裂缝计算：")};
constexpr Part l26[] = {lit("          荷载标准值 Qk =Ka*p+Kaγh1+Kaγ`(H - h1)+γw (H - h1) ")};
constexpr Part l27[] = {lit("                        ="), val(C::Qk), lit("kN")};
constexpr Part l28[] = {lit("          弯距标准值                  Mk =Qk*L" SUP2 "/15="), fld(F::Text24), lit("kN.m")};
constexpr Part l29[] = {lit("          矩形截面受弯构件，构件受力特征系数  αcr ＝ 2.1" IDSP)};
constexpr Part l30[] = {lit("          带肋钢筋的相对粘结特性系数          υ ＝ 1.0")};
constexpr Part l31[] = {lit("          取1米宽墙计算，截面宽度              b ＝ 1000mm")};
constexpr Part l32[] = {lit("          受拉区纵向钢筋的等效直径")};
constexpr Part l33[] = {lit("              deq ＝ ∑(ni * di" SUP2 ") / ∑(ni * υ * di) ＝"), fld(F::Text17), lit("mm")};
constexpr Part l34[] = {lit("          实配筋为" BAR),
                        fld(F::Text17),
                        lit("@"),
                        fld(F::Text25),
                        lit("钢筋面积As="),
                        fld(F::Text14),
                        lit("mm" SUP2)};
constexpr Part l35[] = {lit("          配筋率ρ="), fld(F::Text16), lit("%")};
constexpr Part l36[] = {lit("          按有效受拉混凝土截面面积计算的纵向受拉钢筋配筋率ρte，按下列公式计算：" IDSP)};
constexpr Part l37[] = {lit("          ρte = As / Ate    （混凝土规范 8.1.2－4）")};
constexpr Part l38[] = {lit("                 对矩形截面的受弯构件：Ate=0.5*b*h=0.5*1000*"), fld(F::Text4), lit("="),
                        val(C::Ate), lit("mm" SUP2)};
constexpr Part l39[] = {lit("          ρte = "), fld(F::Text14), lit("/"), val(C::Ate), lit("="), fld(F::Text26)};
constexpr Part l40[] = {lit("          在最大裂缝宽度计算中，当ρte＜0.01 时，取ρte ＝ 0.01")};
constexpr Part l41[] = {lit("          按荷载效应的标准组合计算的纵向受拉钢筋的等效应力σsk按下列公式计算：")};
constexpr Part l42[] = {lit("          σsk = Mk/(0.87*ho*As)="),
                        val(C::MkNmm),
                        lit("/(0.87* "),
                        val(C::Ho),
                        lit("*"),
                        fld(F::Text14),
                        lit(")")};
constexpr Part l43[] = {lit("               ="), val(C::SigmaSk)};
constexpr Part l44[] = {lit("          裂缝间纵向受拉钢筋应变不均匀系数ψ，按下列公式计算：")};
constexpr Part l45[] = {lit("          ψ＝1.1-0.65*ftk/ρte/σsk="), val(C::PsiWithBound)};
constexpr Part l46[] = {lit("          最大裂缝宽度ωmax，按下列公式计算： ")};
constexpr Part l47[] = {lit("          ωmax = αcr*ψ*σsk*(1.9*c+0.08*deq/ρte)/Es="), fld(F::Text15), lit("mm")};
constexpr Part l48[] = {lit("          "), fld(F::Text18)};

constexpr std::span<const Part> kLines[] = {
    l1,  l2,  l3,  l4,  l5,  l6,  l7,  l8,  l9,  l10, l11, l12, l13, l14, l15, l16,
    l17, l18, l19, l20, l21, l22, l23, l24, l25, l26, l27, l28, l29, l30, l31, l32,
    l33, l34, l35, l36, l37, l38, l39, l40, l41, l42, l43, l44, l45, l46, l47, l48,
};
static_assert(std::size(kLines) == 48);

}  // namespace

std::span<const std::span<const Part>> reportLines() { return kLines; }

}  // namespace wallcalc::report
