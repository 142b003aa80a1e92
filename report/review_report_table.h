#pragma once
// The lines of the review report (复核计算书) as data. A line is a text with slots, {name} or
// {name:n}, filled from the review's results: {name} prints the value as read (an input),
// {name:n} with at least n significant digits. Words (steel, section names, clauses) fill slots
// of the same form.
//
// A line that substitutes numbers into a formula reads "symbol＝formula＝numbers＝result unit"
// and carries a check: the printed formula over its printed operands. The composition prints
// the operands with as many digits as it takes for the check to give the printed result to its
// last printed digit.

#include <span>
#include <string_view>

namespace wallcalc::report::review_report {

// Where a line is used: once, for every knot of a load ordinate, or for every section.
enum class Block {
    Head,
    Codes,
    Inputs,
    Loads,
    LoadsG,
    LoadsQ,
    Model,
    Moments,
    Design,
    Section,
    ChoiceIntro,
    Choice,
    Signatures
};

// Conditions of a line: every flag of `need` holds and none of `veto`.
enum Flag : unsigned {
    kCurrent = 1u << 0,       // the codes in force (otherwise the 2002 edition)
    kFixed = 1u << 1,         // top slab fixed (otherwise pinned)
    kSupport = 1u << 2,       // the section is a support (otherwise the span)
    kNoSagging = 1u << 3,     // the span section carries no sagging moment
    kAlphaTooBig = 1u << 4,   // 2αs ≥ 1
    kXiTooBig = 1u << 5,      // ξ > ξb
    kHasAs = 1u << 6,         // the section can carry its moment
    kGivenOk = 1u << 7,       // the given bars pass
    kSigmaZero = 1u << 8,     // no moment for the crack check
    kAboveGround = 1u << 9,   // the knot lies at or above the ground
    kBelowWater = 1u << 10,   // the knot lies below the water table
    kBelowGround = 1u << 11,  // the wall's base lies below the ground
    kHasChoice = 1u << 12,    // some candidate passes
    kHighGrade = 1u << 13,    // above C50: εcu, α1, β1 reduced
    kWidthOk = 1u << 14,      // the given bars' crack width is within the limit
    kStrengthOk = 1u << 15,   // the given bars provide As,req
};

// A bound applied after the printed result, stated where it acts.
enum class Bound { None, RhoTe, Psi, Cs };

using Check = double (*)(std::span<const double> operands);

struct Line {
    Block block;
    unsigned need = 0;
    unsigned veto = 0;
    std::string_view text;
    Check check = nullptr;
    Bound bound = Bound::None;
};

std::span<const Line> lines();

}  // namespace wallcalc::report::review_report
