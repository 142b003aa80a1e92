#pragma once
// The lines of the calculation report as data: each line is a run of parts, a part being a
// literal text, the unchanged text of a field, or a value the report computes itself.

#include <array>
#include <span>
#include <string_view>

#include "core/fields.h"

namespace wallcalc::report {

enum class Computed {
    L,             // storey height in m
    Qk,            // unfactored sum of the four load ordinates
    Ate,           // 0.5·b·h
    MkNmm,         // Mk × 10⁶, in N·mm
    Ho,            // wall thickness less 50 mm
    SigmaSk,       // steel stress under the service moment
    PsiWithBound,  // ψ, and how it was bounded to [0.2, 1.0] where it was
};

struct Part {
    enum class Kind { Literal, FieldText, Value } kind;
    std::string_view literal{};
    Field field{};
    Computed value{};
};

// Lines 1 to 48; seven empty lines follow them in the report.
std::span<const std::span<const Part>> reportLines();

inline constexpr int kEmptyLinesAtEnd = 7;

}  // namespace wallcalc::report
