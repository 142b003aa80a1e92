#include "report/export/testing/sample_report.h"

namespace wallcalc::testing {

const std::vector<std::string>& sampleReportLines() {
    static const std::vector<std::string> lines = [] {
        std::vector<std::string> l{
            "                    计 算 书",
            "条件：1、土容重γ=18kN/m\uE011；浮容重γ`=11kN/m\uE011；",
            "         内摩擦角取30度；按静止土压力计算Ka=0.5，",
            "      2、地下室层高L=4500mm；埋深H = 5m",
            "         设防水位高h1= 0.5mm；墙厚=300mm",
            "         地面堆载p= 10kN/m\uE010；外侧保护层厚50mm",
            "      3、混凝土强度等级为C30；钢筋抗拉强度fy=300",
            "计算  1、强度计算：",
            "       （1）荷载计算：",
            "         Ka*p=5kN；              Ka*γ*h1=4.5kN；",
            "         Ka*γ`*(H-h1)=24.75kN；   γw*(H - h1)=45kN",
            "         荷载组合",
            "         Q=1.4Ka*p+1.2[Kaγh1+Kaγ`(H - h1)+γw (H - h1)] ",
            "          = 96.1kN；",
            "         按单跨梁计算，考虑塑性内力重分布，支座弯距调幅系数",
            "         取0.8。查静力计算手册，支座弯距系数为1/15；跨中弯",
            "         距系数为0.0298。",
            "      （2）配筋计算：",
            "          支座弯距M1=0.8*Q*L\uE010/15=0.8* 96.1*4.5\uE010/15=107.2080kN.m",
            "          受压区高度x\uE020＝ho-(ho\uE010-2*γo*M/α\uE020/fc/b)\uE030 =32.0415766705536mm",
            "          As\uE020＝α\uE020*fc*b*x\uE020/fy=1527.315mm\uE010",
            "          跨中弯距M2=1.25*Q*L\uE010*0.0298= 1.25*96.1*4.5\uE010*0.0298=85.2556kN.m",
            "          受压区高度 x\uE021＝ho-(ho\uE010-2*γo*M/α\uE020/fc/b)\uE030 =24.4520430716604mm",
            "          As\uE020＝α\uE020*fc*b*x\uE020/fy=1196.843mm\uE010",
            "      （3）裂缝计算：",
            "          荷载标准值 Qk =Ka*p+Kaγh1+Kaγ`(H - h1)+γw (H - h1) ",
            "                        =79.25kN",
            "          弯距标准值                  Mk =Qk*L\uE010/15=110.2688kN.m",
            "          矩形截面受弯构件，构件受力特征系数  αcr ＝ 2.1\u3000",
            "          带肋钢筋的相对粘结特性系数          υ ＝ 1.0",
            "          取1米宽墙计算，截面宽度              b ＝ 1000mm",
            "          受拉区纵向钢筋的等效直径",
            "              deq ＝ ∑(ni * di\uE010) / ∑(ni * υ * di) ＝16mm",
            "          实配筋为\uE00116@100钢筋面积As=2010.618mm\uE010",
            "          配筋率ρ=0.8042%",
            "          按有效受拉混凝土截面面积计算的纵向受拉钢筋配筋率ρte，按下列公式计算：\u3000",
            "          ρte = As / Ate    （混凝土规范 8.1.2－4）",
            "                 对矩形截面的受弯构件：Ate=0.5*b*h=0.5*1000*300=150000mm\uE010",
            "          ρte = 2010.618/150000=0.013404",
            "          在最大裂缝宽度计算中，当ρte＜0.01 时，取ρte ＝ 0.01",
            "          按荷载效应的标准组合计算的纵向受拉钢筋的等效应力σsk按下列公式计算：",
            "          σsk = Mk/(0.87*ho*As)=110268800/(0.87* 250*2010.618)",
            "               =252.15281495826",
            "          裂缝间纵向受拉钢筋应变不均匀系数ψ，按下列公式计算：",
            "          ψ＝1.1-0.65*ftk/ρte/σsk=0.713445107785793",
            "          最大裂缝宽度ωmax，按下列公式计算： ",
            "          ωmax = αcr*ψ*σsk*(1.9*c+0.08*deq/ρte)/Es=0.3427mm",
            "          不满足要求！",
        };
        l.resize(55);  // seven empty lines close the report
        return l;
    }();
    return lines;
}

std::string sampleReport() {
    std::string text;
    for (const std::string& line : sampleReportLines()) text += line + "\r\n";
    return text;
}

}  // namespace wallcalc::testing
