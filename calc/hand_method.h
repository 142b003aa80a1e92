#pragma once
// The coefficients of the four buttons' hand method (the 2002-era method of the window): one row
// of named values, so that every number of the strength calculation, the crack width check and
// the report stands here once, beside its meaning and its unit. The values are those the method
// prints; changing one changes every printed result.

#include <array>

namespace wallcalc::hand_method {

struct GradeValue {
    double grade;  // C25 -> 25, or the bar grade 1, 2, 3 of Combo1
    float value;
};

struct Coefficients {
    // Loads on the 1 m strip (kN/m², kN/m³), earth pressure at rest with Ka = 0.5.
    double Ka;          // surcharge pressure Ka·p
    double KaGamma;     // Ka·γ = 0.5 × 18 kN/m³ above the water level
    double KaGammaSub;  // Ka·γ′ = 0.5 × 11 kN/m³ below it
    double gammaW;      // γw, water, kN/m³
    double deadFactor;  // load factor of earth and water
    double liveFactor;  // load factor of the surcharge

    // Moment coefficients of the method: support qL²/12 (uniform) and pL²/15 (triangle), span
    // 9qL²/128 and 0.0298pL², then 0.8 redistribution at the support and 1.25 in the span.
    double uniformSupportDivisor;
    double triangleSupportDivisor;
    double uniformSpanNumerator;
    double uniformSpanDenominator;
    double triangleSpanCoefficient;
    double supportRedistribution;
    double spanIncrease;

    // Section, b = 1000 mm.
    double coverM;   // tension face to the bar centres, m (50 mm)
    double fcSlope;  // fc = 0.48·C − 0.1, N/mm²
    double fcOffset;
    double leverArm;  // z = 0.87·ho
    double pi;        // π as the method takes it, for the bar area πd²/4

    // Crack width (mm).
    double alphaCr;  // αcr of a member in bending
    double psiBase;  // ψ = 1.1 − 0.65·ftk/(ρte·σsk)
    double psiFtkFactor;
    double psiMin, psiMax;  // bounds of ψ
    double rhoTeMin;        // floor of ρte
    double bondFactor;      // 0.08·deq/ρte
    double coverTerm;       // 1.9·c with c = 50 mm
    double crackLimit;      // ωlim, mm

    std::array<GradeValue, 4> ftk;  // N/mm² by concrete grade; 0 outside the table
    std::array<GradeValue, 3> Es;   // N/mm² by bar grade 1 (HPB), 2 and 3 (HRB); 0 otherwise
};

inline constexpr Coefficients k2002{
    .Ka = 0.5,
    .KaGamma = 9,
    .KaGammaSub = 5.5,
    .gammaW = 10,
    .deadFactor = 1.2,
    .liveFactor = 1.4,
    .uniformSupportDivisor = 12,
    .triangleSupportDivisor = 15,
    .uniformSpanNumerator = 9,
    .uniformSpanDenominator = 128,
    .triangleSpanCoefficient = 0.0298,
    .supportRedistribution = 0.8,
    .spanIncrease = 1.25,
    .coverM = 0.05,
    .fcSlope = 0.48,
    .fcOffset = 0.1,
    .leverArm = 0.87,
    .pi = 3.14159,
    .alphaCr = 2.1,
    .psiBase = 1.1,
    .psiFtkFactor = 0.65,
    .psiMin = 0.2,
    .psiMax = 1.0,
    .rhoTeMin = 0.01,
    .bondFactor = 0.08,
    .coverTerm = 95,
    .crackLimit = 0.2,
    .ftk = {{{25, 1.78f}, {30, 2.01f}, {35, 2.2f}, {40, 2.39f}}},
    .Es = {{{1, 210000}, {2, 200000}, {3, 200000}}},
};

// The value of a grade table, 0 for a grade it does not hold (compared exactly).
template <std::size_t N>
constexpr float byGrade(const std::array<GradeValue, N>& table, double grade) {
    for (const GradeValue& row : table)
        if (row.grade == grade) return row.value;
    return 0;
}

}  // namespace wallcalc::hand_method
