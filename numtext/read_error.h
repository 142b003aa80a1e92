#pragma once
// Why a text could not be read as a number. The readings know nothing of the calculations'
// fault numbers: the layer that reads a field turns this into the fault it reports.

#include <stdexcept>

namespace wallcalc::numtext {

class ReadError : public std::runtime_error {
public:
    enum class Kind {
        OutOfRange,  // a number beyond the double-precision range
        NotANumber,  // the strict reading found no number in the whole text
        // A "," among the leading digits that does not group them in thousands ("4,50", "30,"):
        // the text may mean a decimal comma, so neither reading guesses.
        BadGroupSeparator,
    };

    explicit ReadError(Kind kind) : std::runtime_error(message(kind)), kind_(kind) {}
    Kind kind() const noexcept { return kind_; }

private:
    static const char* message(Kind kind) {
        switch (kind) {
            case Kind::OutOfRange: return "number out of range";
            case Kind::NotANumber: return "not a number";
            case Kind::BadGroupSeparator: return "comma out of place";
        }
        return "unreadable";
    }

    Kind kind_;
};

}  // namespace wallcalc::numtext
