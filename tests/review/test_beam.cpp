#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

#include "review/beam.h"

namespace {

using namespace wallcalc::review;
using beam::Grid;
using beam::Load;

// One load with its grid: pieces given as {x0, x1, w0, w1} over the supports.
struct Case {
    Grid grid;
    Load load;
};
Case loaded(std::vector<double> supports, std::vector<double> cuts, std::function<double(double)> w,
            std::function<double(double)> wLeft = nullptr) {
    Case c{beam::makeGrid(std::move(supports), std::move(cuts)), {}};
    for (int k = 0; k < c.grid.pieces(); ++k) {
        c.load.w0.push_back(w(c.grid.x[k]));
        c.load.w1.push_back((wLeft ? wLeft : w)(c.grid.x[k + 1]));
    }
    return c;
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
    struct Row {
        const char* name;
        bool fixedTop;
        double w0, w1;
        double RA, Mt, Mb, span, x;
    };
    const Row rows[] = {
        {"propped uniform", false, q, q, 3 * q * L / 8, 0, qL2 / 8, 9 * qL2 / 128, 3 * L / 8},
        {"propped triangle", false, 0, q, q * L / 10, 0, qL2 / 15, qL2 / (15 * std::sqrt(5.0)), L / std::sqrt(5.0)},
        {"fixed uniform", true, q, q, q * L / 2, qL2 / 12, qL2 / 12, qL2 / 24, L / 2},
        {"fixed triangle", true, 0, q, 3 * q * L / 20, qL2 / 30, qL2 / 20, qL2 * (0.1 * std::sqrt(0.3) - 1.0 / 30),
         L * std::sqrt(0.3)},
    };
    for (const Row& c : rows) {
        const Case w = loaded({0, L}, {}, [&](double x) { return c.w0 + (c.w1 - c.w0) * x / L; });
        const beam::Actions a = beam::solve(w.grid, w.load, c.fixedTop);
        const beam::Term term[] = {{1, &w.load, &a}};
        const beam::Peak peak = beam::largestMoment(w.grid, term, 0);
        EXPECT_NEAR(beam::shearBelow(w.grid, term, 0), c.RA, 1e-12) << c.name;
        EXPECT_NEAR(-beam::shearAbove(term, 1), (c.w0 + c.w1) / 2 * L - c.RA, 1e-12) << c.name;
        EXPECT_NEAR(a.M[0], c.Mt, 1e-12) << c.name;
        EXPECT_NEAR(a.M[1], c.Mb, 1e-12) << c.name;
        EXPECT_NEAR(peak.M, c.span, 1e-12) << c.name;
        EXPECT_NEAR(peak.x, c.x, 1e-9) << c.name;
    }
}

// Continuous over the slabs, uniform q, pinned top, fixed base. Three-moment equations by hand
// (hogging M, EI·θ of a simple span under q: ql³/24):
//   two spans l:   4M1 + M2 = ql²/2, M1 + 2M2 = ql²/4  →  M1 = 9ql²/84, M2 = 6ql²/84;
//                  span 1: V0 = ql/2 − M1/l = 33ql/84; span 2: V0 = ql/2 + 3ql/84 = 45ql/84.
//   three spans l: 4M1 + M2 = ql²/2, M1 + 4M2 + M3 = ql²/2, M2 + 2M3 = ql²/4
//                  →  M1 = 11ql²/104, M2 = 8ql²/104, M3 = 9ql²/104; the spans' largest moments
//                  (41/104)²/2 = 1681/21632, −11/104 + (55/104)²/2 = 737/21632 and
//                  −8/104 + (51/104)²/2 = 937/21632 of ql², at 41l/104, l + 55l/104, 2l + 51l/104.
TEST(Beam, ContinuousOverTheSlabs) {
    const double q = 3, l = 2.5, ql2 = q * l * l;
    const Case two = loaded({0, l, 2 * l}, {}, [&](double) { return q; });
    const beam::Actions a2 = beam::solve(two.grid, two.load, false);
    const beam::Term t2[] = {{1, &two.load, &a2}};
    EXPECT_NEAR(a2.M[0], 0, 1e-14);
    EXPECT_NEAR(a2.M[1], 9 * ql2 / 84, 1e-12);
    EXPECT_NEAR(a2.M[2], 6 * ql2 / 84, 1e-12);
    EXPECT_NEAR(beam::shearBelow(two.grid, t2, 0), 33 * q * l / 84, 1e-12);
    EXPECT_NEAR(beam::shearAbove(t2, 1), -51 * q * l / 84, 1e-12);
    EXPECT_NEAR(beam::shearBelow(two.grid, t2, 1), 45 * q * l / 84, 1e-12);
    EXPECT_NEAR(beam::shearAbove(t2, 2), -39 * q * l / 84, 1e-12);

    const Case three = loaded({0, l, 2 * l, 3 * l}, {}, [&](double) { return q; });
    const beam::Actions a3 = beam::solve(three.grid, three.load, false);
    const beam::Term t3[] = {{1, &three.load, &a3}};
    const double M[] = {0, 11.0 / 104, 8.0 / 104, 9.0 / 104};
    const double peak[] = {1681.0 / 21632, 737.0 / 21632, 937.0 / 21632};
    const double at[] = {41 * l / 104, l + 55 * l / 104, 2 * l + 51 * l / 104};
    for (int j = 0; j < 4; ++j) EXPECT_NEAR(a3.M[j], M[j] * ql2, 1e-12) << j;
    for (int span = 0; span < 3; ++span) {
        const beam::Peak p = beam::largestMoment(three.grid, t3, span);
        EXPECT_NEAR(p.M, peak[span] * ql2, 1e-12) << span;
        EXPECT_NEAR(p.x, at[span], 1e-12) << span;
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

// Random piecewise-linear loads over one to four spans of random heights, steps between pieces
// included. Checked with the test's own integration of the moment line (EI = 1, y″ = −M): each
// span's end slopes as a simple beam under M, y′(0) = ∫M·(l − s)ds/l and y′(l) = −∫M·s ds/l,
// agree over every slab and vanish at a fixed end; the moment is continuous over the slabs and
// closes on each support's moment; the shears carry the whole load; the largest moment of a span
// is where its shear vanishes and no sample exceeds it.
TEST(Beam, EquilibriumAndContinuityOnRandomLoads) {
    std::mt19937 random(20240601);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int trial = 0; trial < 200; ++trial) {
        const int spans = 1 + trial % 4;
        std::vector<double> supports{0};
        for (int i = 0; i < spans; ++i) supports.push_back(supports.back() + 2 + 4 * unit(random));
        const double L = supports.back();
        std::vector<double> cuts;
        for (int k = 0; k < 1 + trial % 3; ++k) cuts.push_back(L * unit(random));
        // Random values at every knot, taken from the left and the right of it independently.
        std::vector<double> right(64), left(64);
        for (double& v : right) v = 60 * unit(random);
        for (double& v : left) v = 60 * unit(random);
        const Grid grid = beam::makeGrid(supports, cuts);
        Load load;
        double whole = 0;
        for (int k = 0; k < grid.pieces(); ++k) {
            load.w0.push_back(right[k]);
            load.w1.push_back(left[k + 1]);
            whole += (grid.x[k + 1] - grid.x[k]) * (right[k] + left[k + 1]) / 2;
        }
        for (bool fixedTop : {false, true}) {
            const beam::Actions a = beam::solve(grid, load, fixedTop);
            const beam::Term term[] = {{1, &load, &a}};
            const double scale = whole * L;
            auto M = [&](double x) { return beam::momentAt(grid, term, x); };
            double carried = 0;
            std::vector<double> slopeTop(spans), slopeBottom(spans);
            for (int i = 0; i < spans; ++i) {
                const double x0 = supports[i], x1 = supports[i + 1], l = x1 - x0;
                carried += beam::shearBelow(grid, term, i) - beam::shearAbove(term, i + 1);
                double top = 0, bottom = 0;
                for (int k = grid.first[i]; k < grid.first[i + 1]; ++k) {
                    top += simpson([&](double x) { return M(x) * (x1 - x); }, grid.x[k], grid.x[k + 1], 200);
                    bottom += simpson([&](double x) { return M(x) * (x - x0); }, grid.x[k], grid.x[k + 1], 200);
                }
                slopeTop[i] = top / l;
                slopeBottom[i] = -bottom / l;
                EXPECT_NEAR(M(x1), -a.M[i + 1], 1e-11 * scale) << trial;
                EXPECT_NEAR(M(x0 + 1e-12), -a.M[i], 1e-9 * scale) << trial;

                const beam::Peak peak = beam::largestMoment(grid, term, i);
                for (double dx : {-1e-4, 1e-4})
                    if (peak.x + dx > x0 && peak.x + dx < x1) {
                        EXPECT_LE(M(peak.x + dx), peak.M + 1e-12 * scale) << trial;
                    }
                for (int s = 0; s <= 100; ++s) EXPECT_LE(M(x0 + l * s / 100), peak.M + 1e-12 * scale) << trial;
            }
            EXPECT_NEAR(carried, whole, 1e-11 * whole) << trial;
            for (int j = 1; j < spans; ++j) EXPECT_NEAR(slopeBottom[j - 1], slopeTop[j], 1e-8 * scale) << trial;
            EXPECT_NEAR(slopeBottom[spans - 1], 0, 1e-8 * scale) << trial;
            if (fixedTop) {
                EXPECT_NEAR(slopeTop[0], 0, 1e-8 * scale) << trial;
            } else {
                EXPECT_EQ(a.M[0], 0) << trial;
            }
        }
    }
}

}  // namespace
