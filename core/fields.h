#pragma once
// The named fields of the window. Every value of the program lives as the text of one of these
// fields; the actions read texts from a FieldSet and write texts back into it.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace wallcalc {

enum class Field : int {
    Text1,
    Text2,
    Text3,
    Text4,
    Text5,
    Text6,
    Text7,
    Text8,
    Text9,
    Text10,
    Text11,
    Text12,
    Text13,
    Text14,
    Text15,
    Text16,
    Text17,
    Text18,
    Text19,
    Text20,
    Text21,
    Text22,
    Text23,
    Text24,
    Text25,
    Text26,
    Text28,
    Text29,
    Combo1,
};

inline constexpr int kFieldCount = 29;

// All fields in the order of the enumeration.
const std::array<Field, kFieldCount>& allFields();

// "Text1" ... "Combo1".
std::string_view fieldName(Field field);
std::optional<Field> fieldFromName(std::string_view name);

// The text a field holds when the window opens (UTF-8).
std::string_view defaultText(Field field);

// A store of field texts (UTF-8), one per field.
class FieldSet {
public:
    // Every field at its default text.
    FieldSet();

    const std::string& text(Field field) const { return texts_[static_cast<int>(field)]; }
    void setText(Field field, std::string text) { texts_[static_cast<int>(field)] = std::move(text); }

    bool operator==(const FieldSet&) const = default;

private:
    std::array<std::string, kFieldCount> texts_;
};

}  // namespace wallcalc
