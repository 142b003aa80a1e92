#include "core/fields.h"

namespace wallcalc {
namespace {

struct FieldInfo {
    Field field;
    std::string_view name;
    std::string_view defaultText;
};

// Names and the texts the window opens with. The output fields hold placeholders until the
// action that writes them runs; Text28 holds its own name until the crack width check has run.
constexpr std::array<FieldInfo, kFieldCount> kFields{{
    {Field::Text1, "Text1", "10"},           {Field::Text2, "Text2", "0.5"},    {Field::Text3, "Text3", "5"},
    {Field::Text4, "Text4", "300"},          {Field::Text5, "Text5", "100"},    {Field::Text6, "Text6", "100"},
    {Field::Text7, "Text7", "1000"},         {Field::Text8, "Text8", "1000"},   {Field::Text9, "Text9", "4500"},
    {Field::Text10, "Text10", "30"},         {Field::Text11, "Text11", "100"},  {Field::Text12, "Text12", "100"},
    {Field::Text13, "Text13", "300"},        {Field::Text14, "Text14", "1000"}, {Field::Text15, "Text15", "0.2"},
    {Field::Text16, "Text16", "0.5"},        {Field::Text17, "Text17", "16"},   {Field::Text18, "Text18", "满足要求"},
    {Field::Text19, "Text19", "10"},         {Field::Text20, "Text20", "10"},   {Field::Text21, "Text21", "10"},
    {Field::Text22, "Text22", "10"},         {Field::Text23, "Text23", "10"},   {Field::Text24, "Text24", "100"},
    {Field::Text25, "Text25", "100"},        {Field::Text26, "Text26", "0.01"}, {Field::Text28, "Text28", "Text28"},
    {Field::Text29, "Text29", "计算书\r\n"}, {Field::Combo1, "Combo1", " 1"},
}};

constexpr bool tableInOrder() {
    for (int i = 0; i < kFieldCount; ++i)
        if (static_cast<int>(kFields[i].field) != i) return false;
    return true;
}
static_assert(tableInOrder(), "kFields must follow the order of the enumeration");

// What each press computes from.
constexpr Field kStrengthInputs[] = {Field::Text1, Field::Text2,  Field::Text3, Field::Text4,
                                     Field::Text9, Field::Text10, Field::Text13};
constexpr Field kCrackInputs[] = {Field::Text24, Field::Text4,  Field::Text10, Field::Text13,
                                  Field::Text17, Field::Text25, Field::Combo1};

template <std::size_t N>
constexpr bool among(const Field (&list)[N], Field field) {
    for (Field f : list)
        if (f == field) return true;
    return false;
}

}  // namespace

std::optional<Press> pressOf(Field field) {
    switch (field) {
        case Field::Text19:
        case Field::Text20:
        case Field::Text21:
        case Field::Text22:
        case Field::Text23:
        case Field::Text5:
        case Field::Text6:
        case Field::Text24:
        case Field::Text11:
        case Field::Text12:
        case Field::Text7:
        case Field::Text8: return Press::Strength;
        case Field::Text14:
        case Field::Text26:
        case Field::Text16:
        case Field::Text28:
        case Field::Text15:
        case Field::Text18: return Press::Crack;
        case Field::Text29: return Press::Report;
        default: return std::nullopt;
    }
}

std::string_view buttonCaption(Press press) {
    switch (press) {
        case Press::Strength: return "强度计算";
        case Press::Crack: return "裂缝计算";
        case Press::Report: return "生成计算书";
    }
    return {};
}

bool dependsOn(Field result, Field field) {
    const std::optional<Press> press = pressOf(result);
    if (!press || result == field) return false;
    switch (*press) {
        case Press::Strength: return among(kStrengthInputs, field);
        case Press::Crack: return among(kCrackInputs, field);
        case Press::Report: return true;
    }
    return false;
}

const std::array<Field, kFieldCount>& allFields() {
    static const std::array<Field, kFieldCount> fields = [] {
        std::array<Field, kFieldCount> all{};
        for (int i = 0; i < kFieldCount; ++i) all[i] = kFields[i].field;
        return all;
    }();
    return fields;
}

std::string_view fieldName(Field field) { return kFields[static_cast<int>(field)].name; }

std::optional<Field> fieldFromName(std::string_view name) {
    for (const FieldInfo& info : kFields)
        if (info.name == name) return info.field;
    return std::nullopt;
}

std::string_view defaultText(Field field) { return kFields[static_cast<int>(field)].defaultText; }

FieldSet::FieldSet() {
    for (const FieldInfo& info : kFields) texts_[static_cast<int>(info.field)] = std::string(info.defaultText);
    forgetResults();
}

void FieldSet::setText(Field field, std::string text) {
    const auto i = static_cast<int>(field);
    const bool changed = texts_[i] != text;
    texts_[i] = std::move(text);
    current_[i] = true;
    if (changed) makeDependentsStale(field);
}

void FieldSet::forgetResults() {
    for (Field field : allFields()) current_[static_cast<int>(field)] = !pressOf(field).has_value();
}

void FieldSet::makeDependentsStale(Field field) {
    // The results form layers (inputs, strength, crack, report), so this ends.
    for (Field result : allFields()) {
        if (!dependsOn(result, field)) continue;
        current_[static_cast<int>(result)] = false;
        makeDependentsStale(result);
    }
}

}  // namespace wallcalc
