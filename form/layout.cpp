#include "form/layout.h"

#include "form/texts.h"

namespace wallcalc::form {
namespace {

constexpr FrameSpec kFrames[] = {
    {1, "土质条件", {240, 600, 2895, 2175}},  {2, "条件输入", {240, 2880, 2895, 3495}},
    {5, "荷载计算", {240, 6480, 9375, 615}},  {3, "强度输出", {240, 7200, 7695, 975}},
    {4, "裂缝计算", {240, 8280, 7695, 1335}},
};

// Row labels are 255 twips high unless they say otherwise. The unit weights are in kN/m³.
constexpr LabelSpec kLabels[] = {
    {"Label47", kOnWindow, kBanner, {1920, 0, 5895, 375}, Look::Banner},
    {"Label16",
     kOnWindow,
     "按单跨梁计算，考虑塑性内力重分布，支座弯距调幅系数取0.8。查静力计算手册，支座弯距系数为1/"
     "15、跨中弯距系数为0.0298。",
     {3480, 5880, 6135, 495},
     Look::Note},

    {"Label1", 1, "容重按18kN/m", {840, 360, 1935, 255}},
    {"Label2_0", 1, "3", {1920, 360, 255, 150}, Look::Raised},
    {"Label3", 1, "内摩擦角取30", {840, 720, 1695, 375}},
    // The degree sign: a letter o in the default font, in a box 120 twips above the row.
    {"Label4", 1, "o", {1920, 600, 255, 150}},
    {"Label5", 1, "有效容重按11kN/m", {480, 1080, 1455, 375}},
    {"Label6", 1, "3", {1920, 1080, 255, 255}, Look::Raised},
    {"Label14", 1, "按静止土压力计算Ka=0.5", {480, 1440, 2055, 255}},
    {"Label15", 1, "分项系数:堆载取1.4;其余取1.2", {240, 1800, 2535, 375}},

    {"Label7", 2, "地面堆载q=", {120, 360, 975, 255}},
    {"Label8", 2, "kN/m", {1680, 360, 495, 255}},
    {"Label9", 2, "2", {2040, 360, 255, 135}, Look::Raised},
    {"Label10", 2, "设防水位高h1=", {120, 840, 1215, 255}},
    {"Label11", 2, "m", {1920, 840, 375, 255}},
    {"Label12", 2, "底板埋深h=", {120, 1320, 1095, 255}},
    {"Label13", 2, "m", {1680, 1320, 255, 255}},
    {"Label17", 2, "墙厚=", {120, 1800, 495, 255}},
    {"Label18", 2, "mm,外侧保护层厚50mm", {1200, 1800, 1695, 375}},
    {"Label29", 2, "地下室高度=", {120, 2280, 1215, 255}},
    {"Label30", 2, "mm", {1800, 2280, 375, 255}},
    {"Label31", 2, "混凝土强度等级为C", {120, 2760, 1575, 255}},
    {"Label32", 2, "C25~C40", {2160, 2760, 735, 255}},
    {"Label37", 2, "钢筋抗拉强度fy=", {120, 3120, 1455, 255}},

    {"Label49", 5, "KaP=", {120, 240, 1095, 255}},
    {"Label50", 5, "kN；", {1320, 240, 255, 255}},
    {"Label51", 5, "Kaγ`h1=", {1680, 240, 735, 255}},
    {"Label52", 5, "kN；", {3240, 240, 255, 255}},
    {"Label53", 5, "Kaγ`h2=", {3600, 240, 735, 255}},
    {"Label54", 5, "kN；", {5280, 240, 255, 255}},
    {"Label55", 5, "γwh2=", {5640, 240, 735, 255}},
    {"Label56", 5, "kN；", {6960, 240, 255, 255}},
    {"Label57", 5, "荷载组合Q=", {7320, 240, 975, 255}},
    {"Label58", 5, "kN", {9120, 240, 255, 255}},

    {"Label19", 3, "支座弯距为", {120, 240, 975, 255}},
    {"Label20", 3, "kN.m", {1920, 240, 495, 255}},
    {"Label33", 3, "受压区高度x=", {2520, 240, 1455, 255}},
    {"Label34", 3, "mm", {4320, 240, 375, 255}},
    {"Label23_0", 3, "计算钢筋面积=", {4680, 240, 1335, 255}},
    {"Label24", 3, "mm", {6840, 240, 375, 255}},
    {"Label25", 3, "2", {7080, 240, 135, 135}, Look::Raised},
    {"Label21", 3, "跨中弯距为", {120, 600, 1095, 255}},
    {"Label22", 3, "kN.m", {1920, 600, 495, 255}},
    {"Label35", 3, "受压区高度x=", {2520, 600, 1215, 255}},
    {"Label36", 3, "mm", {4320, 600, 255, 255}},
    {"Label26", 3, "计算钢筋面积=", {4680, 600, 1215, 255}},
    {"Label27", 3, "mm", {6840, 600, 375, 255}},
    {"Label28", 3, "2", {7080, 600, 135, 135}, Look::Raised},

    {"Label59", 4, "弯距标准值=", {120, 240, 1095, 255}},
    {"Label60", 4, "kN.m", {1800, 240, 375, 255}},
    {"Label44", 4, "配筋", {2280, 240, 1575, 255}},
    {"Label45", 4, "级直径", {3360, 240, 615, 255}},
    {"Label46", 4, "间距", {4440, 240, 375, 255}},
    {"Label38", 4, "钢筋面积=", {5400, 240, 1335, 255}},
    {"Label39", 4, "mm", {7200, 240, 375, 255}},
    {"Label40", 4, "2", {7440, 240, 135, 135}, Look::Raised},
    {"Label42", 4, "配筋率p=", {120, 840, 855, 255}},
    {"Label43", 4, "%", {1800, 840, 255, 255}},
    {"Label61", 4, "pte=", {2040, 840, 375, 255}},
    {"Label41", 4, "裂缝宽度=", {3360, 840, 975, 255}},
    {"Label48", 4, "mm", {5040, 840, 375, 255}},
};

constexpr FieldSpec kFieldSpecs[] = {
    {Field::Text1, 2, {1080, 360, 495, 270}, Paper::Blue, Ink::White, 11},
    {Field::Text2, 2, {1320, 840, 495, 270}, Paper::Blue, Ink::White, 15},
    {Field::Text3, 2, {1080, 1320, 495, 270}, Paper::Blue, Ink::WindowBackground, 18},
    {Field::Text4, 2, {600, 1800, 495, 270}, Paper::Blue, Ink::WindowBackground, 24},
    {Field::Text9, 2, {1200, 2280, 495, 270}, Paper::Blue, Ink::White, 44},
    {Field::Text10, 2, {1680, 2760, 375, 270}, Paper::Blue, Ink::WindowBackground, 48},
    {Field::Text13, 2, {1560, 3120, 495, 270}, Paper::Blue, Ink::WindowBackground, 55},
    {Field::Text28, 2, {2280, 3000, 495, 375}, Paper::Default, Ink::Default, 97},

    {Field::Text19, 5, {600, 240, 615, 270}, Paper::LightYellow, Ink::Default, 75},
    {Field::Text20, 5, {2520, 240, 615, 270}, Paper::LightYellow, Ink::Default, 78},
    {Field::Text21, 5, {4440, 240, 735, 270}, Paper::LightYellow, Ink::Default, 81},
    {Field::Text22, 5, {6240, 240, 615, 270}, Paper::LightYellow, Ink::Default, 84},
    {Field::Text23, 5, {8280, 240, 735, 270}, Paper::Yellow, Ink::Default, 87},

    {Field::Text5, 3, {1080, 240, 735, 270}, Paper::Lavender, Ink::Default, 29},
    {Field::Text11, 3, {3600, 240, 615, 270}, Paper::Lavender, Ink::Default, 50},
    {Field::Text7, 3, {5880, 240, 855, 270}, Paper::Lavender, Ink::Default, 37},
    {Field::Text6, 3, {1080, 600, 735, 270}, Paper::Lavender, Ink::Default, 32},
    {Field::Text12, 3, {3600, 600, 615, 270}, Paper::Lavender, Ink::Default, 53},
    {Field::Text8, 3, {5880, 600, 855, 270}, Paper::Lavender, Ink::Default, 39},

    {Field::Text24, 4, {1080, 240, 615, 270}, Paper::Yellow, Ink::Default, 90},
    {Field::Combo1, 4, {2640, 240, 615, 300}, Paper::Blue, Ink::WindowBackground, 68},
    {Field::Text17, 4, {3960, 240, 375, 270}, Paper::Blue, Ink::White, 67},
    {Field::Text25, 4, {4800, 240, 495, 270}, Paper::Blue, Ink::WindowBackground, 93},
    {Field::Text14, 4, {6360, 240, 735, 270}, Paper::LightYellow, Ink::Black, 58},
    {Field::Text16, 4, {1080, 840, 615, 270}, Paper::Yellow, Ink::Black, 64},
    {Field::Text26, 4, {2400, 840, 855, 270}, Paper::Yellow, Ink::Default, 94},
    {Field::Text15, 4, {4200, 840, 735, 270}, Paper::LightYellow, Ink::Default, 62},
    {Field::Text18, 4, {5640, 720, 1815, 495}, Paper::Green, Ink::Default, 70},

    {Field::Text29, kOnWindow, {10200, 480, 4815, 10455}, Paper::Default, Ink::Default, 100},
};

constexpr ButtonSpec kButtons[] = {
    {"Command1", "强度计算", {8040, 7440, 1455, 615}, 26, Command::Strength},
    {"Command2", "裂缝计算", {8040, 8640, 1455, 615}, 42, Command::Crack},
    {"Command4", "生成计算书", {1800, 10080, 2535, 495}, 99, Command::Report},
    {"Command3", "计算书保存", {5640, 10080, 2295, 495}, 101, Command::Export},
    {"Command5", "现行规范复核", {8040, 10080, 1455, 495}, 102, Command::Review},
};

constexpr MenuItem kFileMenuItems[] = {
    {"actionNew", "新建(&N)", Shortcut::New, MenuCommand::New},
    {"actionOpen", "打开(&O)…", Shortcut::Open, MenuCommand::Open},
    {"actionSave", "保存(&S)", Shortcut::Save, MenuCommand::Save},
    {"actionSaveAs", "另存为(&A)…", Shortcut::SaveAs, MenuCommand::SaveAs},
    {"actionSaveReport", "另存计算书(&R)…", Shortcut::None, MenuCommand::SaveReport, true},
};

}  // namespace

std::optional<Rgb> paperRgb(Paper paper) {
    switch (paper) {
        case Paper::Default: return std::nullopt;
        case Paper::Blue: return Rgb{0, 0, 255};
        case Paper::LightYellow: return Rgb{255, 255, 128};
        case Paper::Yellow: return Rgb{255, 255, 0};
        case Paper::Lavender: return Rgb{192, 192, 255};
        case Paper::Green: return Rgb{0, 192, 0};
    }
    return std::nullopt;
}

std::optional<Rgb> inkRgb(Ink ink) {
    switch (ink) {
        case Ink::Default:
        case Ink::WindowBackground: return std::nullopt;
        case Ink::White: return Rgb{255, 255, 255};
        case Ink::Black: return Rgb{0, 0, 0};
        case Ink::Grey: return Rgb{128, 128, 128};
    }
    return std::nullopt;
}

FieldLook fieldLook(const FieldSpec& spec, bool current) {
    if (current) return {spec.paper, spec.ink};
    return {spec.paper == Paper::Green ? Paper::Default : spec.paper, Ink::Grey};
}

std::span<const FrameSpec> frames() { return kFrames; }
std::span<const LabelSpec> labels() { return kLabels; }
std::span<const FieldSpec> fieldSpecs() { return kFieldSpecs; }
std::span<const ButtonSpec> buttons() { return kButtons; }
std::span<const MenuItem> fileMenu() { return kFileMenuItems; }

std::vector<std::string_view> faceCandidates(std::string_view family, bool bold) {
    if (family == kKai) return {"楷体_GB2312", "KaiTi_GB2312", "楷体", "KaiTi", "AR PL UKai CN"};
    std::vector<std::string_view> faces;
    if (family == kNewSong)
        faces = {"新宋体", "NSimSun"};
    else
        faces = {"宋体", "SimSun"};
    // AR PL UMing has no bold weight; Noto Serif CJK has one.
    if (bold)
        faces.insert(faces.end(), {"Noto Serif CJK SC", "AR PL UMing CN"});
    else
        faces.insert(faces.end(), {"AR PL UMing CN", "Noto Serif CJK SC"});
    return faces;
}

}  // namespace wallcalc::form
