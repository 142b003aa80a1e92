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

// The press that computes a result field: 强度计算, 裂缝计算 or 生成计算书. Every other field is
// an input, typed by the engineer.
enum class Press { Strength, Crack, Report };

// The press whose results include `field`; none for an input.
std::optional<Press> pressOf(Field field);

// The caption of the press's button: "强度计算", "裂缝计算", "生成计算书".
std::string_view buttonCaption(Press press);

// Whether result `result` is computed from `field`: the strength results from the site, wall and
// material inputs; the crack results from Mk (Text24), the section, the bars and the grades; the
// report from every other field.
bool dependsOn(Field result, Field field);

// A store of field texts (UTF-8), one per field, that knows which results are current.
//
// A result is current when a press computed it from the texts now held, or when the engineer
// typed it (an engineer may check a moment of their own): every setText of a result makes it
// current. It stops being current when a field it depends on changes its text or stops being
// current itself, and at the start: a new set holds the placeholders of the window, none current.
class FieldSet {
public:
    // Every field at its default text, no result current.
    FieldSet();

    const std::string& text(Field field) const { return texts_[static_cast<int>(field)]; }
    // Sets a text as a press or the engineer writes it.
    void setText(Field field, std::string text);

    // True for every input, and for a result as said above.
    bool isCurrent(Field field) const { return current_[static_cast<int>(field)]; }
    // No result current, as when a wall is opened or made new.
    void forgetResults();

    bool operator==(const FieldSet&) const = default;

private:
    void makeDependentsStale(Field field);

    std::array<std::string, kFieldCount> texts_;
    std::array<bool, kFieldCount> current_{};
};

}  // namespace wallcalc
