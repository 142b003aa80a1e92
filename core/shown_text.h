#pragma once
// Texts from outside (file names, field texts, cells) as messages show them: a control
// character or a bidirectional mark would otherwise move the cursor of a terminal, hide part of
// the message or reverse what follows it in a message box.

#include <string>
#include <string_view>

namespace wallcalc {

// `text` with every control character (U+0000–U+001F, U+007F–U+009F), bidirectional mark,
// embedding, override or isolate (U+061C, U+200E, U+200F, U+202A–U+202E, U+2066–U+2069) and the
// line and paragraph separators U+2028, U+2029 written as <U+XXXX>, and every byte that is not
// UTF-8 as U+FFFD. A text of none of them comes back as it is.
std::string shownText(std::string_view text);

// Whether `text` holds any of the characters shownText writes out.
bool hasInvisibleMarks(std::string_view text);

// shownText in the quotes of the messages: “text”.
std::string quotedText(std::string_view text);

}  // namespace wallcalc
