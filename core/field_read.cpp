#include "core/field_read.h"

#include <array>
#include <string>

#include "core/fault.h"
#include "numtext/prefix_reading.h"
#include "numtext/read_error.h"
#include "numtext/strict_reading.h"

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

// A field named for a message: "Text1（地面堆载q）".
std::string describe(Field field) {
    return std::string(fieldName(field)) + "（" + std::string(fieldCaption(field)) + "）";
}

// The text quoted in a message, shortened so that a long text cannot flood the box.
std::string quoted(const std::string& text) {
    constexpr std::size_t kMaxBytes = 40;
    if (text.size() <= kMaxBytes) return "“" + text + "”";
    std::size_t cut = kMaxBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;  // UTF-8 boundary
    return "“" + text.substr(0, cut) + "……”";
}

}  // namespace

std::string_view fieldCaption(Field field) { return kCaptions[static_cast<int>(field)]; }

double readPrefix(const FieldSet& fields, Field field) {
    try {
        return numtext::prefixReading(fields.text(field));
    } catch (const numtext::ReadError&) {
        throw FaultError(fault_number::kOverflow, "字段 " + describe(field) + "的数值超出计算范围");
    }
}

double readStrict(const FieldSet& fields, Field field, std::string_view hint) {
    try {
        return numtext::strictReading(fields.text(field));
    } catch (const numtext::ReadError& error) {
        if (error.kind() == numtext::ReadError::Kind::OutOfRange)
            throw FaultError(fault_number::kOverflow, "字段 " + describe(field) + "的数值超出计算范围");
        std::string what = "字段 " + describe(field) + "的内容" + quoted(fields.text(field)) + "不是数值";
        what += hint.empty() ? std::string("，请只填写数字") : "，" + std::string(hint);
        throw FaultError(fault_number::kTypeMismatch, what);
    }
}

}  // namespace wallcalc
