#include "core/field_read.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <limits>
#include <string>

#include "core/fault.h"
#include "core/shown_text.h"
#include "core/utf8.h"
#include "numtext/prefix_reading.h"
#include "numtext/read_error.h"
#include "numtext/strict_reading.h"
#include "numtext/text_forms.h"

namespace wallcalc {
namespace {

constexpr std::array<std::string_view, kFieldCount> kCaptions{
    "地面堆载q",                // Text1
    "设防水位高h1",             // Text2
    "底板埋深h",                // Text3
    "墙厚",                     // Text4
    "支座弯距",                 // Text5
    "跨中弯距",                 // Text6
    "支座计算钢筋面积",         // Text7
    "跨中计算钢筋面积",         // Text8
    "地下室高度",               // Text9
    "混凝土强度等级",           // Text10
    "支座受压区高度x",          // Text11
    "跨中受压区高度x",          // Text12
    "钢筋抗拉强度fy",           // Text13
    "实配钢筋面积",             // Text14
    "裂缝宽度",                 // Text15
    "配筋率",                   // Text16
    "钢筋直径",                 // Text17
    "验算结论",                 // Text18
    "KaP",                      // Text19
    "Kaγh1",                    // Text20
    "Kaγ`h2",                   // Text21
    "γwh2",                     // Text22
    "荷载组合Q",                // Text23
    "弯距标准值Mk",             // Text24
    "钢筋间距",                 // Text25
    "ρte",                      // Text26
    "混凝土抗拉强度标准值ftk",  // Text28
    "计算书",                   // Text29
    "钢筋级别",                 // Combo1
};

// What to type into each field, in the order of the enumeration. The output fields are
// mended by running the action that writes them.
constexpr std::array<std::string_view, kFieldCount> kAdvice{
    "请输入地面堆载，单位kN/m²，如 10",                      // Text1
    "请输入设防水位到地面的深度，单位m，如 0.5",             // Text2
    "请输入底板埋深，单位m，如 5",                           // Text3
    "请输入墙厚，单位mm，如 300",                            // Text4
    "请先进行强度计算",                                      // Text5
    "请先进行强度计算",                                      // Text6
    "请先进行强度计算",                                      // Text7
    "请先进行强度计算",                                      // Text8
    "请输入地下室高度，单位mm，如 4500",                     // Text9
    "请输入等级的数字，如 30",                               // Text10
    "请先进行强度计算",                                      // Text11
    "请先进行强度计算",                                      // Text12
    "请输入钢筋抗拉强度，单位N/mm²，如 300",                 // Text13
    "请先进行裂缝计算",                                      // Text14
    "请先进行裂缝计算",                                      // Text15
    "请先进行裂缝计算",                                      // Text16
    "请输入钢筋直径，单位mm，如 16",                         // Text17
    "请先进行裂缝计算",                                      // Text18
    "请先进行强度计算",                                      // Text19
    "请先进行强度计算",                                      // Text20
    "请先进行强度计算",                                      // Text21
    "请先进行强度计算",                                      // Text22
    "请先进行强度计算",                                      // Text23
    "请输入弯距标准值，单位kN·m，如 110，或先进行强度计算",  // Text24
    "请输入钢筋间距，单位mm，如 100",                        // Text25
    "请先进行裂缝计算",                                      // Text26
    "请先进行裂缝计算，再生成计算书",                        // Text28
    "请先生成计算书",                                        // Text29
    "请选择或输入钢筋级别 1、2 或 3",                        // Combo1
};

// The inputs the engineer types as numbers: a text there that begins with no number is refused
// rather than read as 0.
constexpr Field kTypedNumbers[] = {Field::Text1,  Field::Text2,  Field::Text3,  Field::Text4,  Field::Text9,
                                   Field::Text10, Field::Text13, Field::Text17, Field::Text24, Field::Text25};

// What any basement wall has, in the units of the field: a positive value outside is a slip
// of the unit (4.5 for a storey height of 4 500 mm) or of a digit. Zero and negative values are
// refused, or not, by the calculations where they form their quantities.
struct Plausible {
    Field field;
    double min, max;  // min 0: only an upper bound
    std::string_view unit;
};
constexpr Plausible kPlausible[] = {
    {Field::Text9, 1000, 15000, "mm"}, {Field::Text4, 100, 3000, "mm"}, {Field::Text3, 0, 100, "m"},
    {Field::Text1, 0, 500, "kN/m²"},   {Field::Text17, 6, 50, "mm"},    {Field::Text25, 50, 1000, "mm"},
};

// "混凝土强度等级：“C30”不是数值，请输入等级的数字，如 30"
std::string message(Field field, std::string_view problem, std::string_view advice) {
    std::string what(fieldCaption(field));
    what += "：";
    if (!problem.empty()) {
        what += problem;
        what += "，";
    }
    what += advice.empty() ? fieldAdvice(field) : advice;
    return what;
}

// The text quoted in a message, shortened so that a long text cannot flood the box, with its
// control characters and direction marks written out.
std::string quoted(const std::string& text) {
    constexpr std::size_t kMaxBytes = 40;
    if (text.size() <= kMaxBytes) return quotedText(text);
    const std::size_t cut = utf8Boundary(text, kMaxBytes);
    return "“" + shownText(text.substr(0, cut)) + "……”";
}

// The fault a reading error stands for, naming the field.
[[noreturn]] void raise(const numtext::ReadError& error, const FieldSet& fields, Field field, std::string_view hint) {
    switch (error.kind()) {
        case numtext::ReadError::Kind::OutOfRange:
            throw FaultError(fault_number::kOverflow, message(field, "数值超出计算范围", hint), field);
        case numtext::ReadError::Kind::BadGroupSeparator:
            throw FaultError(fault_number::kTypeMismatch,
                             message(field, quoted(fields.text(field)) + "中的逗号只能用作千位分隔符", hint), field);
        case numtext::ReadError::Kind::NotANumber: break;
    }
    throw FaultError(fault_number::kTypeMismatch, message(field, quoted(fields.text(field)) + "不是数值", hint), field);
}

// The number `value` read from `field`, refused when it lies beyond the single range (fault 6,
// as the calculations that hold it in single precision would) or is a positive value that no
// wall has (fault 5).
double plausible(const FieldSet& fields, Field field, double value) {
    for (const Plausible& p : kPlausible) {
        if (p.field != field) continue;
        if (std::fabs(value) > std::numeric_limits<float>::max())
            throw FaultError(fault_number::kOverflow, message(field, "数值超出计算范围", {}), field);
        if (!(value > 0) || (value >= p.min && value <= p.max)) return value;
        const std::string unit(p.unit);
        const std::string problem =
            p.min > 0 ? "不在 " + numtext::doubleText(p.min) + "～" + numtext::doubleText(p.max) + " " + unit + " 之内"
                      : "超过 " + numtext::doubleText(p.max) + " " + unit;
        throw FaultError(fault_number::kInvalidCall,
                         message(field, quoted(fields.text(field)) + problem + "（单位或位数有误？）", {}), field);
    }
    return value;
}

}  // namespace

std::string_view fieldCaption(Field field) { return kCaptions[static_cast<int>(field)]; }

std::string_view fieldAdvice(Field field) { return kAdvice[static_cast<int>(field)]; }

double readPrefix(const FieldSet& fields, Field field) {
    const std::string& text = fields.text(field);
    double value = 0;
    try {
        value = numtext::prefixReading(text);
    } catch (const numtext::ReadError& error) {
        raise(error, fields, field, {});
    }
    if (std::find(std::begin(kTypedNumbers), std::end(kTypedNumbers), field) != std::end(kTypedNumbers) &&
        numtext::leadingOf(text) == numtext::Leading::Other)
        throw FaultError(fault_number::kInvalidCall, message(field, quoted(text) + "不是数值", {}), field);
    return plausible(fields, field, value);
}

float readPrefixSingle(const FieldSet& fields, Field field) {
    const double value = readPrefix(fields, field);
    const auto single = static_cast<float>(value);
    if (std::isinf(single) && std::isfinite(value))
        throw FaultError(fault_number::kOverflow, message(field, "数值超出计算范围", {}), field);
    return single;
}

double readStrict(const FieldSet& fields, Field field, std::string_view hint) {
    double value = 0;
    try {
        value = numtext::strictReading(fields.text(field));
    } catch (const numtext::ReadError& error) {
        raise(error, fields, field, hint);
    }
    return plausible(fields, field, value);
}

void requireCurrent(const FieldSet& fields, Field field) {
    if (fields.isCurrent(field)) return;
    const std::optional<Press> press = pressOf(field);
    const std::string advice = "请先按“" + std::string(press ? buttonCaption(*press) : "") + "”";
    throw FaultError(fault_number::kInvalidCall, message(field, "不是按当前输入算得的结果", advice), field);
}

void refuseNegative(double value, Field field, std::string_view problem) {
    if (value < 0) throw FaultError(fault_number::kInvalidCall, message(field, problem, {}), field);
}

}  // namespace wallcalc
