#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "review/beam.h"

namespace {

using namespace wallcalc::review;
using beam::Load;

// One linear piece over the whole span: w0 at the top slab, w1 at the base slab.
Load across(double L, double w0, double w1) {
    Load load;
    load.add({0, L, w0, w1});
    return load;
}

// The textbook coefficients of the pure loads, L = 3 m, intensity 2 kN/m² (uniform) or 0 at
// the top slab to 2 at the base slab (triangle). Propped = pinned at the top, fixed at the base.
//   propped uniform:   RA = 3qL/8,  Mb = qL²/8,   span 9qL²/128 at 3L/8
//   propped triangle:  RA = pL/10,  Mb = pL²/15,  span pL²/(15√5) at L/√5
//   fixed uniform:     RA = qL/2,   Mt = Mb = qL²/12, span qL²/24 at L/2
//   fixed triangle:    RA = 3pL/20, Mt = pL²/30, Mb = pL²/20; the shear vanishes at x = L·√0.3,
//                      where M = pL²·(0.1·√0.3 − 1/30) = 0.0214389 pL².
TEST(Beam, PureLoadCoefficients) {
    const double L = 3, q = 2, qL2 = q * L * L;
    struct Case {
        const char* name;
        Support support;
        double w0, w1;
        double RA, Mt, Mb, span, x;
    };
    const Case cases[] = {
        {"propped uniform", Support::Propped, q, q, 3 * q * L / 8, 0, qL2 / 8, 9 * qL2 / 128, 3 * L / 8},
        {"propped triangle", Support::Propped, 0, q, q * L / 10, 0, qL2 / 15, qL2 / (15 * std::sqrt(5.0)),
         L / std::sqrt(5.0)},
        {"fixed uniform", Support::Fixed, q, q, q * L / 2, qL2 / 12, qL2 / 12, qL2 / 24, L / 2},
        {"fixed triangle", Support::Fixed, 0, q, 3 * q * L / 20, qL2 / 30, qL2 / 20,
         qL2 * (0.1 * std::sqrt(0.3) - 1.0 / 30), L * std::sqrt(0.3)},
    };
    for (const Case& c : cases) {
        const Load load = across(L, c.w0, c.w1);
        const beam::Actions a = beam::solve(load, L, c.support);
        const beam::Peak peak = beam::largestMoment(load, a);
        EXPECT_NEAR(a.RA, c.RA, 1e-12) << c.name;
        EXPECT_NEAR(a.RB, (c.w0 + c.w1) / 2 * L - c.RA, 1e-12) << c.name;
        EXPECT_NEAR(a.Mt, c.Mt, 1e-12) << c.name;
        EXPECT_NEAR(a.Mb, c.Mb, 1e-12) << c.name;
        EXPECT_NEAR(peak.M, c.span, 1e-12) << c.name;
        EXPECT_NEAR(peak.x, c.x, 1e-9) << c.name;
    }
}

// Simpson's rule on a fine grid: the test's own integration, independent of the Gauss points.
template <class F>
double simpson(F f, double a, double b, int n = 2000) {
    const double h = (b - a) / n;
    double sum = f(a) + f(b);
    for (int i = 1; i < n; ++i) sum += f(a + i * h) * (i % 2 ? 4 : 2);
    return sum * h / 3;
}

// w on one piece, so that a step between pieces is taken from the side being integrated.
double loadOn(const beam::Piece& p, double x) { return p.w0 + (p.w1 - p.w0) * (x - p.x0) / (p.x1 - p.x0); }

// A strip partly above the ground: nothing on the top 1.2 m, then a trapezoid with a knee at
// 2.7 m (the water table), integrated piece by piece with Simpson's rule against the closed
// fixed-end formulas Mt = ∫w·a(L−a)²/L², Mb = ∫w·a²(L−a)/L² and, pinned at the top,
// Mb = ∫w·a(L²−a²)/(2L²).
TEST(Beam, KneeInsideTheSpanAgainstNumericalIntegration) {
    const double L = 4.2;
    Load load;
    load.add({0, 1.2, 0, 0});
    load.add({1.2, 2.7, 5, 18.5});
    load.add({2.7, L, 18.5, 42});
    auto integral = [&](auto g) {
        double sum = 0;
        for (int k = 0; k < load.count; ++k) {
            const beam::Piece& p = load.pieces[k];
            sum += simpson([&](double a) { return loadOn(p, a) * g(a); }, p.x0, p.x1);
        }
        return sum;
    };
    const double L2 = L * L;
    const double fixedTop = integral([&](double a) { return a * (L - a) * (L - a) / L2; });
    const double fixedBase = integral([&](double a) { return a * a * (L - a) / L2; });
    const double proppedBase = integral([&](double a) { return a * (L * L - a * a) / (2 * L2); });

    const beam::Actions fixed = beam::solve(load, L, Support::Fixed);
    const beam::Actions propped = beam::solve(load, L, Support::Propped);
    EXPECT_NEAR(fixed.Mt, fixedTop, 1e-9);
    EXPECT_NEAR(fixed.Mb, fixedBase, 1e-9);
    EXPECT_EQ(propped.Mt, 0);
    EXPECT_NEAR(propped.Mb, proppedBase, 1e-9);
    // Nothing presses above the ground: the shear there is the top reaction, the moment linear.
    EXPECT_NEAR(beam::momentAt(load, fixed, 1.0), -fixed.Mt + fixed.RA * 1.0, 1e-12);
}

// Random piecewise-linear loads, steps between pieces included: the reactions carry the whole
// load, the moment closes on the base slab's moment, the slope is zero at every fixed end and
// the deflection zero at both slabs (moment-area: ∫M·x dx = 0, and ∫M dx = 0 when both ends are
// fixed), and the largest moment is where the shear vanishes and no sample exceeds it.
TEST(Beam, EquilibriumAndContinuityOnRandomLoads) {
    std::mt19937 random(20240601);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int trial = 0; trial < 200; ++trial) {
        const double L = 2 + 4 * unit(random);
        const int pieces = 1 + trial % 3;
        std::vector<double> cuts{0};
        for (int k = 1; k < pieces; ++k) cuts.push_back(L * unit(random));
        cuts.push_back(L);
        std::sort(cuts.begin(), cuts.end());
        Load load;
        double whole = 0;
        for (int k = 0; k < pieces; ++k) {
            const double w0 = 60 * unit(random), w1 = 60 * unit(random);
            load.add({cuts[k], cuts[k + 1], w0, w1});
            whole += (cuts[k + 1] - cuts[k]) * (w0 + w1) / 2;
        }
        for (Support support : {Support::Propped, Support::Fixed}) {
            const beam::Actions a = beam::solve(load, L, support);
            const double scale = whole * L;
            EXPECT_NEAR(a.RA + a.RB, whole, 1e-12 * whole) << trial;
            EXPECT_NEAR(beam::momentAt(load, a, L), -a.Mb, 1e-12 * scale) << trial;
            EXPECT_NEAR(beam::shearAt(load, a, L), -a.RB, 1e-12 * whole) << trial;
            double slope = 0, deflection = 0;
            for (int k = 0; k < pieces; ++k) {
                slope += simpson([&](double x) { return beam::momentAt(load, a, x); }, cuts[k], cuts[k + 1], 200);
                deflection +=
                    simpson([&](double x) { return beam::momentAt(load, a, x) * x; }, cuts[k], cuts[k + 1], 200);
            }
            EXPECT_NEAR(deflection, 0, 1e-9 * scale * L) << trial;
            if (support == Support::Fixed) {
                EXPECT_NEAR(slope, 0, 1e-9 * scale) << trial;
            }

            const beam::Peak peak = beam::largestMoment(load, a);
            EXPECT_NEAR(beam::shearAt(load, a, peak.x), 0, 1e-9 * whole) << trial;
            for (int i = 0; i <= 400; ++i)
                EXPECT_LE(beam::momentAt(load, a, L * i / 400), peak.M + 1e-12 * scale) << trial;
        }
    }
}

}  // namespace
