#include "report/review_report_table.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace wallcalc::report::review_report {
namespace {

using B = Block;
using S = std::span<const double>;

// The printed formulas over their printed operands, in the order the operands appear.
double combineOne(S v) { return v[0] * (v[1] * v[2] + v[3] * v[4]); }
double combineTwo(S v) { return v[0] * std::max(v[1] * v[2] + v[3] * v[4], v[5] * v[6] + v[7] * v[8]); }
double quasiPermanent(S v) { return v[0] + v[1] * v[2]; }
double sum(S v) { return v[0] + v[1]; }
double product3(S v) { return v[0] * v[1] * v[2]; }
double product(S v) { return v[0] * v[1]; }
double earthAndWater(S v) { return v[0] * v[1] * v[2] + (v[3] * v[4] + v[5]) * (v[6] - v[7]); }
double epsCu(S v) { return 0.0033 - (v[0] - 50) * 1e-5; }
double xiB(S v) { return v[0] / (1 + v[1] / (v[2] * 1e5 * v[3])); }
double rhoMinPercent(S v) { return std::max(0.20, 45 * v[0] / v[1]); }
double minimumSteel(S v) { return v[0] / 100 * 1000 * v[1]; }
double effectiveDepth(S v) { return v[0] - v[1] - v[2] - v[3] / 2; }
double alphaS(S v) { return v[0] * 1e6 / (v[1] * v[2] * 1000 * v[3] * v[3]); }
double xi(S v) { return 1 - std::sqrt(1 - 2 * v[0]); }
double steelArea(S v) { return v[0] * v[1] * 1000 * v[2] * v[3] / v[4]; }
double larger(S v) { return std::max(v[0], v[1]); }
double barArea(S v) { return std::numbers::pi * v[0] * v[0] / 4 * 1000 / v[1]; }
double twoBarsArea(S v) { return barArea(v.subspan(0, 2)) + barArea(v.subspan(2, 2)); }
double steelStress(S v) { return v[0] * 1e6 / (0.87 * v[1] * v[2]); }
double rhoTe(S v) { return v[0] / (0.5 * 1000 * v[1]); }
double psi(S v) { return 1.1 - 0.65 * v[0] / (v[1] * v[2]); }
double quotient(S v) { return v[0] / v[1]; }
double twoBarsDeq(S v) { return (v[0] * v[1] * v[1] + v[2] * v[3] * v[3]) / (v[4] * v[5] * v[6] + v[7] * v[8] * v[9]); }
double crackWidth(S v) { return v[0] * v[1] * v[2] / (v[3] * 1e5) * (1.9 * v[4] + 0.08 * v[5] / v[6]); }
double betaH(S v) { return std::pow(800 / v[0], 0.25); }
double concreteShear(S v) { return 0.7 * v[0] * v[1] * 1000 * v[2] / 1000; }

constexpr Line kLines[] = {
    {B::Head, 0, 0, "                         地下室外墙复核计算书"},
    {B::Head, 0, 0, "程序：{program} {version}（{editionTitle}复核）"},
    {B::Head, 0, 0, "日期：{date}"},
    {B::Head, 0, 0, ""},

    {B::Codes, 0, 0, "一、设计依据"},
    {B::Codes, 0, 0, "  1．{code0}"},
    {B::Codes, 0, 0, "  2．{code1}"},
    {B::Codes, kThirdCode, 0, "  3．{code2}"},
    {B::Codes, 0, 0, "  本复核与四个按钮的原算法相互独立：按弹性精确求解{beamWord}，不考虑塑性内力重分布。"},
    {B::Codes, 0, 0, ""},

    {B::Inputs, 0, 0, "二、计算条件"},
    {B::Inputs, 0, 0, "  1．几何"},
    {B::Inputs, 0, kStoreys, "    底板埋深 H＝{H} m，地下室层高 L＝{L} m"},
    {B::Inputs, 0, kStoreys, "    顶板处深度 H−L＝{topZ:4} m（负值表示在地面以上）"},
    {B::Inputs, kStoreys, 0, "    底板埋深 H＝{H} m；各层层高（自上而下）：{storeysText}（末层为本层 L）"},
    {B::Inputs, kStoreys, 0, "    墙高 Ltot＝{Ltot:6} m，顶板处深度 H−Ltot＝{topZ:4} m（负值表示在地面以上）"},
    {B::Inputs, 0, 0, "    墙厚 t＝{t} mm，计算宽度 b＝1000 mm（取1 m宽墙条）"},
    {B::Inputs, 0, 0, "  2．土、水及荷载（水土分算）"},
    {B::Inputs, 0, 0, "    静止土压力系数 K0＝{K0}，土的重度 γ＝{gamma} kN/m³"},
    {B::Inputs, 0, 0, "    浮重度 γ′＝{gammaSub} kN/m³，水的重度 γw＝{gammaW} kN/m³"},
    {B::Inputs, 0, kSlsWater, "    设防水位深度 h1＝{h1} m（自地面向下）"},
    {B::Inputs, kSlsWater, 0,
     "    设防水位深度 h1＝{h1} m（承载力验算），裂缝验算水位深度 h1,sls＝{h1Sls} m（自地面向下）"},
    {B::Inputs, kQuasiPermanent, 0, "    地面堆载 p＝{p} kN/m²，准永久值系数 ψq＝{psiQ}"},
    {B::Inputs, 0, kQuasiPermanent, "    地面堆载 p＝{p} kN/m²（裂缝验算用标准组合，ψq不参与）"},
    {B::Inputs, 0, 0, "    结构重要性系数 γ0＝{gamma0}；土压力、水压力按永久荷载，地面堆载按可变荷载"},
    {B::Inputs, 0, 0, "  3．材料（{codeConcrete}）"},
    {B::Inputs, 0, 0, "    混凝土 C{grade}：fc＝{fc} N/mm²，ft＝{ft} N/mm²"},
    {B::Inputs, 0, 0, "    ftk＝{ftk} N/mm²，εcu＝{epsCu:4}"},
    {B::Inputs, 0, 0, "    α1＝{alpha1}，β1＝{beta1}"},
    {B::Inputs, 0, 0, "    钢筋 {steel}：fy＝{fy} N/mm²，Es＝{EsE5}×10⁵ N/mm²"},
    {B::Inputs, 0, 0, "    相对粘结特性系数 ν＝{nu}"},
    {B::Inputs, 0, 0, "  4．构造"},
    {B::Inputs, 0, 0, "    保护层厚度：外侧（迎土面）{coverOut} mm，内侧 {coverIn} mm"},
    {B::Inputs, kCrackCover, 0,
     "    外侧设有防水层：外侧裂缝宽度计算取保护层 c＝{crackCoverOut} mm（承载力计算仍取 {coverOut} mm）"},
    {B::Inputs, 0, 0, "    水平分布筋在竖向钢筋外侧，直径 dh＝{dh} mm"},
    {B::Inputs, kSameBars, 0, "    实配竖向钢筋（两侧相同）：{barsOut}"},
    {B::Inputs, 0, kSameBars, "    实配竖向钢筋（两侧不同）：外侧（迎土面）{barsOut}，内侧 {barsIn}"},
    {B::Inputs, 0, 0, "    最大裂缝宽度限值：外侧 {wlimOut} mm，内侧 {wlimIn} mm"},
    {B::Inputs, 0, 0, ""},

    {B::Loads, 0, 0, "三、荷载（z为自地面向下的深度；压力为标准值，kN/m²）"},
    {B::Loads, 0, 0, "  永久荷载（土压力及水压力）：eG(z)＝K0·γ·min(z, h1)＋K0·γ′·max(0, z−h1)＋γw·max(0, z−h1)"},
    {B::Loads, 0, 0, "  可变荷载（地面堆载）：地面以下 eQ＝K0·p；地面以上无土压力及堆载"},
    {B::Loads, 0, 0, "  荷载分段线性，各控制点（顶板、地面、水位、底板）："},
    {B::LoadsG, kAboveGround, 0, "    eG＝0（z＝{z:4} m，在地面或地面以上）"},
    {B::LoadsG, 0, kAboveGround | kBelowWater, "    eG＝K0·γ·z＝{K0}×{gamma}×{z:4}＝{e:4} kN/m²（z＝{z:4} m）",
     product3},
    {B::LoadsG, kBelowWater, kAboveGround,
     "    eG＝K0·γ·h1＋(K0·γ′＋γw)·(z−h1)＝{K0}×{gamma}×{h1}＋({K0}×{gammaSub}＋{gammaW})×({z:4}−{h1})＝{e:4} kN/m²"
     "（z＝{z:4} m）",
     earthAndWater},
    {B::LoadsQ, kBelowGround, 0, "    eQ＝K0·p＝{K0}×{p}＝{eQ:4} kN/m²（地面以下各点）", product},
    {B::LoadsQ, 0, kBelowGround, "    墙体全部位于地面以上，eQ＝0"},
    {B::LoadsSlsIntro, 0, 0, "  裂缝验算的永久荷载取水位 h1,sls＝{h1Sls} m，各控制点："},
    {B::LoadsEnd, 0, 0, ""},

    {B::Model, 0, 0, "四、计算模型及内力"},
    {B::Model, 0, kFixed | kEnvelope | kStoreys, "  取1 m宽竖向墙条按单跨梁计算：上端（顶板）铰接，下端（底板）固接。"},
    {B::Model, kFixed, kStoreys, "  取1 m宽竖向墙条按单跨梁计算：上端（顶板）、下端（底板）均为固接。"},
    {B::Model, kEnvelope, kStoreys,
     "  取1 "
     "m宽竖向墙条按单跨梁计算：下端（底板）固接，上端（顶板）分别按铰接和固接计算，各截面取两者的较大值（包络）。"},
    {B::Model, kStoreys, kFixed | kEnvelope,
     "  取1 m宽竖向墙条按{spanCount}跨连续梁计算：上端（顶板）铰接，中间各层楼板为铰支座，下端（底板）固接。"},
    {B::Model, kStoreys | kFixed, 0,
     "  取1 m宽竖向墙条按{spanCount}跨连续梁计算：上端（顶板）固接，中间各层楼板为铰支座，下端（底板）固接。"},
    {B::Model, kStoreys | kEnvelope, 0,
     "  取1 m宽竖向墙条按{spanCount}跨连续梁计算：中间各层楼板为铰支座，下端（底板）固接，上端（顶板）分别按铰接和固接"
     "计算，各截面取两者的较大值（包络）。"},
    {B::Model, 0, kStoreys, "  跨度 L＝{L} m，x自顶板向下量；荷载沿跨度分段线性，按弹性精确求解。"},
    {B::Model, kStoreys, 0,
     "  各跨跨度自上而下为 {storeysText}，x自顶板向下量；荷载沿墙高分段线性，按三弯矩方程精确求解。"},
    {B::Model, 0, 0, "  弯矩取绝对值：支座为负弯矩（迎土面受拉），跨中为正弯矩（内侧受拉）。"},
    {B::Model, 0, 0, "  基本组合：M＝{ulsFormula}（{factorClause}）"},
    {B::Model, kQuasiPermanent, 0, "  准永久组合（裂缝验算）：Mq＝MG＋ψq·MQ"},
    {B::Model, 0, kQuasiPermanent, "  标准组合（裂缝验算）：Mk＝MG＋MQ"},
    {B::Model, kSlsWater, 0, "  裂缝验算弯矩中的 MG 按裂缝验算水位 h1,sls＝{h1Sls} m 计算。"},
    {B::Model, 0, 0, "  跨中截面取基本组合最大正弯矩处；各截面的标准值弯矩（MG：土、水压力；MQ：地面堆载）："},
    {B::Moments, 0, kEnvelope, "    {secName}（x＝{x:4} m）：MG＝{MG:4} kN·m/m，MQ＝{MQ:4} kN·m/m"},
    {B::Moments, kEnvelope, 0, "    {secName}（x＝{x:4} m，{model}控制）：MG＝{MG:4} kN·m/m，MQ＝{MQ:4} kN·m/m"},

    {B::Design, 0, 0, ""},
    {B::Design, 0, 0, "五、截面承载力及裂缝宽度验算"},
    {B::Design, kHighGrade, 0,
     "  εcu＝0.0033−(fcu,k−50)×10⁻⁵＝0.0033−({grade}−50)×10⁻⁵＝{epsCu:4}（{codeConcrete} {eqEpsCu}）", epsCu},
    {B::Design, 0, 0,
     "  ξb＝β1/(1＋fy/(Es·εcu))＝{beta1}/(1＋{fy}/({EsE5}×10⁵×{epsCu:4}))＝{xiB:4}（{codeConcrete} {eqXiB}）", xiB},
    {B::Design, 0, 0, "  ρmin＝max(0.20, 45·ft/fy)%＝max(0.20, 45×{ft}/{fy})%＝{rhoMinPct:4}%（{minClause}）",
     rhoMinPercent},
    {B::Design, 0, 0, "  As,min＝ρmin·b·t＝{rhoMinPct:5}%×1000×{t}＝{AsMin:4} mm²", minimumSteel},

    {B::Section, 0, 0, "  （{n}）{secName}：x＝{x:4} m，{face}受拉，c＝{c} mm"},
    {B::Section, kNoSagging, kSupport, "    跨中无正弯矩：M＝0，{msName}＝0"},
    {B::Section, kNoSagging | kSupport, 0, "    支座处无负弯矩：M＝0，{msName}＝0"},
    {B::Section, 0, kTwoCombinations | kNoSagging,
     "    M＝{ulsFormula}＝{gamma0}×({fG1}×{MG:5}＋{fQ1}×{MQ:5})＝{Muls:4} kN·m/m", combineOne},
    {B::Section, kTwoCombinations, kNoSagging,
     "    M＝{ulsFormula}＝{gamma0}×max({fG1}×{MG:5}＋{fQ1}×{MQ:5}, {fG2}×{MG:5}＋{fQ2}×{MQ:5})＝{Muls:4} kN·m/m",
     combineTwo},
    {B::Section, kQuasiPermanent | kSupport, kNoSagging,
     "    Mq＝MG＋ψq·MQ＝{MGsls:5}＋{slsQ}×{MQsls:5}＝{Msls:4} kN·m/m", quasiPermanent},
    {B::Section, kSupport, kQuasiPermanent | kNoSagging, "    Mk＝MG＋MQ＝{MGsls:5}＋{MQsls:5}＝{Msls:4} kN·m/m", sum},
    {B::Section, kQuasiPermanent, kSupport | kNoSagging,
     "    Mq＝MG＋ψq·MQ＝{MGsls:5}＋{slsQ}×{MQsls:5}＝{Msls:4} kN·m/m（准永久组合自身的最大正弯矩，在x＝{xSls:4} m处）",
     quasiPermanent},
    {B::Section, 0, kQuasiPermanent | kSupport | kNoSagging,
     "    Mk＝MG＋MQ＝{MGsls:5}＋{MQsls:5}＝{Msls:4} kN·m/m（标准组合自身的最大正弯矩，在x＝{xSls:4} m处）", sum},
    {B::Section, 0, kTwoBars, "    h0＝t−c−dh−d/2＝{t}−{c}−{dh}−{dmax}/2＝{h0:4} mm", effectiveDepth},
    {B::Section, kTwoBars, 0, "    h0＝t−c−dh−d/2＝{t}−{c}−{dh}−{dmax}/2＝{h0:4} mm（d取较大直径）", effectiveDepth},
    {B::Section, 0, 0,
     "    αs＝M/(α1·fc·b·h0²)＝{Muls:5}×10⁶/({alpha1}×{fc}×1000×{h0:5}²)＝{alphaS:4}（{codeConcrete} {eqBend1}）",
     alphaS},
    {B::Section, kAlphaTooBig, 0, "    2αs≥1：受压区超出截面，截面不足（需加大墙厚或提高混凝土强度等级）"},
    {B::Section, 0, kAlphaTooBig, "    ξ＝1−√(1−2αs)＝1−√(1−2×{alphaS:5})＝{xi:4}", xi},
    {B::Section, kXiTooBig, 0, "    ξ＝{xi:4}＞ξb＝{xiB:4}，超筋，截面不足（{codeConcrete} {eqBend3}）"},
    {B::Section, kHasAs, 0, "    ξ＝{xi:4}≤ξb＝{xiB:4}（{codeConcrete} {eqBend3}）"},
    {B::Section, kHasAs, 0,
     "    As＝α1·fc·b·ξ·h0/fy＝{alpha1}×{fc}×1000×{xi:5}×{h0:5}/{fy}＝{As:4} mm²（{codeConcrete} {eqBend2}）",
     steelArea},
    {B::Section, kHasAs, 0, "    As,req＝max(As, As,min)＝max({As:5}, {AsMin:5})＝{AsReq:4} mm²", larger},
    {B::Section, 0, kTwoBars, "    实配{bars}：As,p＝π·d²/4·1000/s＝π×{d1}²/4×1000/{s1}＝{AsP:4} mm²", barArea},
    {B::Section, kTwoBars, 0,
     "    实配{bars}：As,p＝Σπ·d²/4·1000/s＝π×{d1}²/4×1000/{s1}＋π×{d2}²/4×1000/{s2}＝{AsP:4} mm²（通长＋附加）",
     twoBarsArea},
    {B::Section, kHasAs | kStrengthOk, 0, "    As,p＝{AsP:4} mm²≥As,req＝{AsReq:4} mm²，承载力及最小配筋率满足"},
    {B::Section, kHasAs, kStrengthOk, "    As,p＝{AsP:4} mm²＜As,req＝{AsReq:4} mm²，配筋不足"},
    {B::Section, 0, kHasAs, "    截面不足，实配钢筋不能满足承载力要求；裂缝宽度无意义，不作验算"},
    {B::Section, kHasAs, kSigmaZero,
     "    σs＝{msName}/(0.87·h0·As,p)＝{Msls:5}×10⁶/(0.87×{gh0:5}×{AsP:5})＝{sigmaS:4} N/mm²（{codeConcrete} "
     "{eqSigma}）",
     steelStress},
    {B::Section, kHasAs | kNoCrack, 0,
     "    σs＝{sigmaS:4} N/mm²＞fy＝{fy} N/mm²：实配钢筋在{msName}下已屈服，裂缝宽度无意义，不作验算"},
    {B::Section, 0, kNoCrack,
     "    ρte＝As,p/(0.5·b·t)＝{AsP:5}/(0.5×1000×{t})＝{rhoTeRaw:4}（{codeConcrete} {eqRhoTe}）", rhoTe, Bound::RhoTe},
    {B::Section, 0, kSigmaZero | kNoCrack,
     "    ψ＝1.1−0.65·ftk/(ρte·σs)＝1.1−0.65×{ftk}/({rhoTe:5}×{sigmaS:5})＝{psiRaw:4}（{codeConcrete} {eqPsi}）", psi,
     Bound::Psi},
    {B::Section, kCrackFace, kNoCrack, "    外侧设有防水层，裂缝宽度计算取 c＝{cc} mm"},
    {B::Section, 0, kNoCrack, "    cs＝c＋dh＝{cc}＋{dh}＝{csRaw:4} mm", sum, Bound::Cs},
    {B::Section, 0, kTwoBars | kNoCrack, "    deq＝d/ν＝{d1}/{nu}＝{deq:4} mm（{codeConcrete} {eqDeq}）", quotient},
    {B::Section, kTwoBars, kNoCrack,
     "    deq＝Σni·di²/Σni·ν·di＝({n1:4}×{d1}²＋{n2:4}×{d2}²)/({n1:4}×{nu}×{d1}＋{n2:4}×{nu}×{d2})＝{deq:4} mm"
     "（ni＝1000/si，{codeConcrete} {eqDeq}）",
     twoBarsDeq},
    {B::Section, kSigmaZero, kNoCrack, "    {msName}为0，σs为0：取ψ＝0.2，wmax为0"},
    {B::Section, 0, kSigmaZero | kNoCrack,
     "    "
     "wmax＝αcr·ψ·σs/Es·(1.9·cs＋0.08·deq/ρte)＝{acr}×{psi:5}×{sigmaS:5}/({EsE5}×10⁵)×(1.9×{cs:5}＋0.08×{deq:5}/"
     "{rhoTe:5})"
     "＝{w:4} mm（{codeConcrete} {eqW}）",
     crackWidth},
    {B::Section, kWidthOk, kNoCrack, "    wmax＝{w:4} mm≤wlim＝{wlim} mm，裂缝宽度满足"},
    {B::Section, 0, kWidthOk | kNoCrack, "    wmax＝{w:4} mm＞wlim＝{wlim} mm，裂缝宽度不满足"},
    {B::Section, kGivenOk, 0, "    结论：{secName}实配{bars}满足要求"},
    {B::Section, 0, kGivenOk, "    结论：{secName}实配{bars}不满足要求"},

    {B::ShearIntro, 0, 0, ""},
    {B::ShearIntro, 0, 0, "六、支座处受剪承载力验算（不配箍筋，{shearClause}）"},
    {B::ShearIntro, 0, 0, "  V≤0.7·βh·ft·b·h0，βh＝(800/h0)^(1/4)，h0小于800 mm取800 mm，大于2000 mm取2000 mm"},
    {B::ShearIntro, 0, 0, "  h0＝t−c−dh−d/2＝{t}−{coverOut}−{dh}−{sdmax}/2＝{sh0:4} mm（外侧，d取外侧钢筋的较大直径）",
     effectiveDepth},
    {B::ShearIntro, 0, kBetaH, "  h0＝{sh0:4} mm≤800 mm，取βh＝1（{codeConcrete} {eqBetaH}）"},
    {B::ShearIntro, kBetaH, 0, "  βh＝(800/h0)^(1/4)＝(800/{sh0c:5})^(1/4)＝{betaH:4}（{codeConcrete} {eqBetaH}）",
     betaH},
    {B::ShearIntro, 0, 0,
     "  Vc＝0.7·βh·ft·b·h0＝0.7×{betaH:5}×{ft}×1000×{sh0:5}/1000＝{Vc:4} kN/m（{codeConcrete} {eqShear}）",
     concreteShear},
    {B::Shear, 0, 0,
     "  {secName}：V＝γ0·(γG·VG＋γQ·VQ)＝{gamma0}×({fG}×{VG:5}＋{fQ}×{VQ:5})＝{V:4} kN/m（x＝{x:4} m，{where}）",
     combineOne},
    {B::Shear, kShearOk, 0, "    V＝{V:4} kN/m≤Vc＝{Vc:4} kN/m，满足"},
    {B::Shear, 0, kShearOk, "    V＝{V:4} kN/m＞Vc＝{Vc:4} kN/m，不满足：需加大墙厚或提高混凝土强度等级"},

    {B::ChoiceIntro, 0, 0, ""},
    {B::ChoiceIntro, 0, 0, "七、推荐配筋"},
    {B::ChoiceIntro, 0, 0,
     "  在直径10～{maxBar} mm、间距100～200 mm的常用规格中，取承载力、最小配筋率和裂缝宽度均满足且As,p最小者"
     "（各规格按其直径计算h0；As,p相同取间距大者）："},
    {B::Choice, kHasChoice, 0, "  {secName}：Φ{c1d}@{c1s}，As,p＝{c1AsP:4} mm²，wmax＝{c1w:3} mm；控制因素：{governs}"},
    {B::Choice, kHasChoice, 0, "    其次：{others}"},
    {B::Choice, 0, kHasChoice, "  {secName}：无满足要求的规格，需加大墙厚或提高混凝土强度等级"},

    {B::WarningIntro, kWarnings, 0, ""},
    {B::WarningIntro, kWarnings, 0, "八、审图提示（不影响以上计算结果）"},
    {B::Warning, 0, 0, "  {n}．{warning}（{warningCode}）"},

    {B::Conclusion, 0, 0, ""},
    {B::Conclusion, kAllOk, 0, "结论：各截面实配钢筋及各支座受剪承载力均满足要求。"},
    {B::Conclusion, 0, kAllOk, "结论：不满足要求（{failing}）。"},

    {B::Signatures, 0, 0, ""},
    {B::Signatures, 0, 0, "设计：              校对：              审核：              "},
    {B::Signatures, 0, 0, "日期：{date}"},
};

}  // namespace

std::span<const Line> lines() { return kLines; }

}  // namespace wallcalc::report::review_report
