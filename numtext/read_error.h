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
    };

    explicit ReadError(Kind kind)
        : std::runtime_error(kind == Kind::OutOfRange ? "number out of range" : "not a number"), kind_(kind) {}
    Kind kind() const noexcept { return kind_; }

private:
    Kind kind_;
};

}  // namespace wallcalc::numtext
