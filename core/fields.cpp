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

}  // namespace

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
}

}  // namespace wallcalc
