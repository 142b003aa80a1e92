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

// Where a line is used: once, for every knot of a load ordinate, for every storey, for every
// section, or for every support's shear.
enum class Block {
    Head,
    Codes,
    Inputs,
    Loads,
    LoadsG,
    LoadsQ,
    LoadsSlsIntro,
    LoadsGsls,
    LoadsEnd,
    Model,
    Moments,
    Design,
    Section,
    ShearIntro,
    Shear,
    ChoiceIntro,
    Choice,
    WarningIntro,
    Warning,
    Conclusion,
    Signatures
};

// Conditions of a line: every flag of `need` holds and none of `veto`.
enum Flag : unsigned {
    kQuasiPermanent = 1u << 0,    // the crack check takes the quasi-permanent moment (otherwise the characteristic)
    kFixed = 1u << 1,             // top slab fixed (otherwise pinned; neither for the envelope)
    kSupport = 1u << 2,           // the section is a support (otherwise a span)
    kNoSagging = 1u << 3,         // the section carries no moment of its sense
    kAlphaTooBig = 1u << 4,       // 2αs ≥ 1
    kXiTooBig = 1u << 5,          // ξ > ξb
    kHasAs = 1u << 6,             // the section can carry its moment
    kGivenOk = 1u << 7,           // the given bars pass
    kSigmaZero = 1u << 8,         // no moment for the crack check
    kAboveGround = 1u << 9,       // the knot lies at or above the ground
    kBelowWater = 1u << 10,       // the knot lies below the water table
    kBelowGround = 1u << 11,      // the wall's base lies below the ground
    kHasChoice = 1u << 12,        // some candidate passes
    kHighGrade = 1u << 13,        // above C50: εcu, α1, β1 reduced
    kWidthOk = 1u << 14,          // the given bars' crack width is within the limit
    kStrengthOk = 1u << 15,       // the given bars provide As,req
    kTwoCombinations = 1u << 16,  // the edition's ULS takes the larger of two combinations
    kThirdCode = 1u << 17,        // the edition cites a third code
    kEnvelope = 1u << 18,         // the top slab pinned and fixed, the larger of the two
    kStoreys = 1u << 19,          // several storeys
    kTwoBars = 1u << 20,          // the face's bars are 通长 + 附加
    kNoCrack = 1u << 21,          // the crack width means nothing: 截面不足, or σs above fy
    kSameBars = 1u << 22,         // both faces have the same bars
    kCrackCover = 1u << 23,       // the soil face's crack width takes its own cover
    kSlsWater = 1u << 24,         // the crack check has its own water table
    kShearOk = 1u << 25,          // V ≤ Vc
    kBetaH = 1u << 26,            // h0 > 800 mm: βh < 1
    kAllOk = 1u << 27,            // every section and every shear passes
    kWarnings = 1u << 28,         // the review gives warnings
    kCrackFace = 1u << 29,        // the section is on the soil face and takes the crack cover
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
