#pragma once
// Design of a 1 m wide section in bending: the steel for strength (αs, ξ, As), the minimum
// steel, the crack width of given bars, and the choice of bars from the usual sizes.

#include <array>
#include <optional>
#include <string_view>

#include "review/materials.h"
#include "review/review.h"

namespace wallcalc::review {

inline constexpr double kStripWidth = 1000;  // b, mm

// π·d²/4·1000/s, mm² per metre.
double barArea(double d, double s);

// Bars of several layers: Σ π·d²/4·1000/s, the largest d, and the equivalent diameter
// deq = Σ nᵢ·dᵢ² / Σ nᵢ·ν·dᵢ with nᵢ = 1000/sᵢ bars per metre.
double barsArea(const Bars& bars);
double largestBar(const Bars& bars);
double equivalentDiameter(const Bars& bars, double nu);

// h0 = t − c − dh − d/2: the bar centre behind the cover and the horizontal bars outside it.
double effectiveDepth(double t, double cover, double dh, double d);

// ξb = β1/(1 + fy/(Es·εcu)).
double balancedDepth(const Concrete& concrete, const Steel& steel);

// ρmin = max(0.20 %, 45·ft/fy %).
double minimumRatio(const Concrete& concrete, const Steel& steel);

// αs = M/(α1·fc·b·h0²), ξ = 1 − √(1 − 2αs), As = α1·fc·b·ξ·h0/fy. ξ is absent when 2αs ≥ 1 and
// As when besides ξ > ξb: the section cannot carry the moment (截面不足).
struct Flexure {
    double alphaS = 0;
    std::optional<double> xi, As;
};
Flexure flexure(double M, double h0, const Concrete& concrete, const Steel& steel, double xiB);

// The crack width of bars As,p under the service moment:
//   σs = M/(0.87·h0·As,p); ρte = As,p/(0.5·b·t) ≥ 0.01; ψ = 1.1 − 0.65·ftk/(ρte·σs) in [0.2, 1.0];
//   cs = c + dh in [20, 65];  w = αcr·ψ·σs/Es·(1.9·cs + 0.08·deq/ρte).
struct CrackWidth {
    double sigmaS = 0, rhoTe = 0, psi = 0, cs = 0, deq = 0, w = 0;
    double rhoTeRaw = 0, psiRaw = 0;  // before their bounds (ψ: 0 when σs = 0)
};
double boundedCover(double cover, double dh);
CrackWidth crackWidth(double M, double h0, double AsP, double deq, double t, double cs, const Concrete& concrete,
                      const Steel& steel, double alphaCr);

// The 96 candidates (d 10..25 by s 100..200), in order of increasing As,p compared exactly
// (d²/s), the tie 10@125 / 12@180 to the larger spacing.
inline constexpr std::array<int, 8> kDiameters{10, 12, 14, 16, 18, 20, 22, 25};
inline constexpr std::array<int, 12> kSpacings{100, 110, 120, 125, 130, 140, 150, 160, 170, 180, 190, 200};
const std::array<Candidate, 96>& candidates();

// What a section asks of its bars. `cover` sets h0, `crackCover` the cs of the crack width.
struct Demand {
    double Muls = 0, Msls = 0;
    double t = 0, cover = 0, crackCover = 0, dh = 0, wlim = 0;
    double AsMin = 0, xiB = 0, alphaCr = 0;
};

// The first three candidates that pass strength (own h0), minimum steel and crack width, and
// what governs the first of them: "强度", "最小配筋率" or "裂缝"; none when nothing passes. Only
// the diameters the steel is rolled in are candidates.
struct Choice {
    std::array<Candidate, 3> first{};
    int count = 0;
    std::optional<std::string_view> governs;
};
Choice chooseBars(const Demand& demand, const Concrete& concrete, const Steel& steel);

}  // namespace wallcalc::review
