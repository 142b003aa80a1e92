#pragma once
// Wall files (.wall): the input texts of one wall and the options of its review, as a small
// JSON document (see docs/wall-file.md):
//
//   {"format": "wallcalc-wall", "version": 1,
//    "fields": {"Text1": "10", ...},
//    "options": {"support": "fixed"}}

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/fields.h"
#include "wallfile/options.h"

namespace wallcalc::wallfile {

inline constexpr std::string_view kFormat = "wallcalc-wall";
inline constexpr int kVersion = 1;
inline constexpr std::string_view kExtension = ".wall";
// A wall file is under 1 KB; a larger file is refused unread.
inline constexpr std::size_t kMaxBytes = 1 << 20;

// The fields the engineer types, in the window's tab order; a wall file holds these.
const std::vector<Field>& inputFields();
bool isInputField(Field field);

struct Wall {
    FieldSet fields;      // the input fields from the file, every other field at its default
    OptionTexts options;  // the review options set for this wall

    bool operator==(const Wall&) const = default;
};

// Why a file could not be read, in the engineer's words (Chinese), naming the file.
class WallFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file's text: input fields only, keys in a fixed order, UTF-8, ending in a line end.
std::string toJson(const Wall& wall);

// Reads a wall file's text; `name` is used in the messages. Missing input fields keep their
// defaults; anything else that is not as written by toJson is refused with WallFileError:
// not JSON, not a wall file, another version, an unknown field or option, a value not a text.
Wall fromJson(std::string_view text, std::string_view name);

// Reading and writing files; both throw WallFileError. load() reads a regular file of at most
// kMaxBytes only. save() writes atomically (see writeAtomically: through a link to its target,
// keeping the file's permissions, never over a read-only file).
Wall load(const std::filesystem::path& path);
void save(const std::filesystem::path& path, const Wall& wall);

}  // namespace wallcalc::wallfile
