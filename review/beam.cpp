#include "review/beam.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace wallcalc::review::beam {
namespace {

// Three-point Gauss–Legendre on [−1, 1]: exact for polynomials up to degree five.
constexpr std::array<double, 3> kNodes{-0.7745966692414834, 0.0, 0.7745966692414834};
constexpr std::array<double, 3> kWeights{5.0 / 9.0, 8.0 / 9.0, 5.0 / 9.0};

// Shear and moment at u into a piece of length ℓ from its start values:
//   V(u) = V0 − w0·u − (w1 − w0)·u²/(2ℓ),   M(u) = M0 + V0·u − w0·u²/2 − (w1 − w0)·u³/(6ℓ).
double shearIn(double length, double w0, double w1, double V0, double u) {
    if (length <= 0) return V0;
    return V0 - w0 * u - (w1 - w0) * u * u / (2 * length);
}
double momentIn(double length, double w0, double w1, double V0, double M0, double u) {
    if (length <= 0) return M0;
    return M0 + V0 * u - w0 * u * u / 2 - (w1 - w0) * u * u * u / (6 * length);
}

// The combined load and start values of piece k.
struct Combined {
    double w0 = 0, w1 = 0, V = 0, M = 0;
};
Combined combined(std::span<const Term> terms, int k) {
    Combined out;
    for (const Term& t : terms) {
        out.w0 += t.factor * t.load->w0[k];
        out.w1 += t.factor * t.load->w1[k];
        out.V += t.factor * t.actions->V[k];
        out.M += t.factor * t.actions->Mx[k];
    }
    return out;
}

int pieceAt(const Grid& grid, double x) {
    const int n = grid.pieces();
    for (int k = 0; k < n; ++k)
        if (x <= grid.x[k + 1]) return k;
    return n - 1;
}

}  // namespace

Grid makeGrid(std::vector<double> supports, std::vector<double> cuts) {
    Grid grid;
    grid.supports = std::move(supports);
    std::sort(cuts.begin(), cuts.end());
    auto cut = cuts.begin();
    for (int i = 0; i + 1 < static_cast<int>(grid.supports.size()); ++i) {
        const double top = grid.supports[i], bottom = grid.supports[i + 1];
        grid.first.push_back(static_cast<int>(grid.x.size()));
        grid.x.push_back(top);
        for (; cut != cuts.end() && *cut < bottom; ++cut)
            if (*cut > grid.x.back()) grid.x.push_back(*cut);
    }
    grid.first.push_back(static_cast<int>(grid.x.size()));
    grid.x.push_back(grid.supports.back());
    return grid;
}

Actions solve(const Grid& grid, const Load& load, bool fixedTop) {
    const int n = grid.spans();
    // Per span as a simple beam: EI times the end rotations, θA = ∫w·a·b·(l + b)/(6l) and
    // θB = ∫w·a·b·(l + a)/(6l) (a from the span's top, b = l − a), and the top reaction
    // ∫w·b/l.
    std::vector<double> length(n), thetaA(n, 0.0), thetaB(n, 0.0), reaction(n, 0.0);
    for (int i = 0; i < n; ++i) {
        const double top = grid.supports[i], l = grid.supports[i + 1] - top;
        length[i] = l;
        for (int k = grid.first[i]; k < grid.first[i + 1]; ++k) {
            const double x0 = grid.x[k], x1 = grid.x[k + 1], half = (x1 - x0) / 2, middle = x0 + half;
            for (int g = 0; g < 3; ++g) {
                const double x = middle + half * kNodes[g];
                const double share = (x - x0) / (x1 - x0);
                const double w = (load.w0[k] + (load.w1[k] - load.w0[k]) * share) * half * kWeights[g];
                const double a = x - top, b = l - a;
                thetaA[i] += w * a * b * (l + b) / (6 * l);
                thetaB[i] += w * a * b * (l + a) / (6 * l);
                reaction[i] += w * b / l;
            }
        }
    }

    // The three-moment equations, one row per support, hogging moments M0..Mn:
    //   top, fixed:    l1/3·M0 + l1/6·M1 = θA1          (pinned: M0 = 0)
    //   slab j:        lj/6·Mj−1 + (lj + lj+1)/3·Mj + lj+1/6·Mj+1 = θBj + θAj+1
    //   base (fixed):  ln/6·Mn−1 + ln/3·Mn = θBn
    // diagonally dominant, solved by elimination down and substitution up.
    const int rows = n + 1;
    std::vector<double> lower(rows, 0.0), diagonal(rows, 0.0), upper(rows, 0.0), right(rows, 0.0);
    for (int j = 0; j < rows; ++j) {
        if (j > 0) {
            lower[j] = length[j - 1] / 6;
            diagonal[j] += length[j - 1] / 3;
            right[j] += thetaB[j - 1];
        }
        if (j < n) {
            upper[j] = length[j] / 6;
            diagonal[j] += length[j] / 3;
            right[j] += thetaA[j];
        }
    }
    if (!fixedTop) diagonal[0] = 1, upper[0] = 0, right[0] = 0;
    for (int j = 1; j < rows; ++j) {
        const double factor = lower[j] / diagonal[j - 1];
        diagonal[j] -= factor * upper[j - 1];
        right[j] -= factor * right[j - 1];
    }
    Actions out;
    out.M.assign(rows, 0.0);
    out.M[n] = right[n] / diagonal[n];
    for (int j = n - 1; j >= 0; --j) out.M[j] = (right[j] - upper[j] * out.M[j + 1]) / diagonal[j];
    if (!fixedTop) out.M[0] = 0;

    // Down each span from its top: V = the simple beam's reaction + (Mtop − Mbottom)/l, M = −Mtop.
    const int pieces = grid.pieces();
    out.V.assign(pieces, 0.0);
    out.Mx.assign(pieces, 0.0);
    out.Vend.assign(n, 0.0);
    for (int i = 0; i < n; ++i) {
        double V = reaction[i] + (out.M[i] - out.M[i + 1]) / length[i], M = -out.M[i];
        for (int k = grid.first[i]; k < grid.first[i + 1]; ++k) {
            out.V[k] = V;
            out.Mx[k] = M;
            const double l = grid.x[k + 1] - grid.x[k];
            M = momentIn(l, load.w0[k], load.w1[k], V, M, l);
            V = shearIn(l, load.w0[k], load.w1[k], V, l);
        }
        out.Vend[i] = V;
    }
    return out;
}

double momentAt(const Grid& grid, std::span<const Term> terms, double x) {
    const int k = pieceAt(grid, x);
    const Combined c = combined(terms, k);
    return momentIn(grid.x[k + 1] - grid.x[k], c.w0, c.w1, c.V, c.M, x - grid.x[k]);
}

double shearAbove(std::span<const Term> terms, int j) {
    double V = 0;
    if (j > 0)
        for (const Term& t : terms) V += t.factor * t.actions->Vend[j - 1];
    return V;
}

double shearBelow(const Grid& grid, std::span<const Term> terms, int j) {
    return j < grid.spans() ? combined(terms, grid.first[j]).V : 0.0;
}

Peak largestMoment(const Grid& grid, std::span<const Term> terms, int span) {
    for (int k = grid.first[span]; k < grid.first[span + 1]; ++k) {
        const Combined c = combined(terms, k);
        if (c.V <= 0) return {grid.x[k], c.M};
        const double length = grid.x[k + 1] - grid.x[k];
        const double end = shearIn(length, c.w0, c.w1, c.V, length);
        if (length <= 0 || end > 0) continue;
        // V(u) = 0: (w1 − w0)/(2ℓ)·u² + w0·u − V0 = 0, the root in [0, ℓ] in the form that does
        // not cancel.
        const double slope = (c.w1 - c.w0) / length;
        const double root = std::sqrt(std::max(0.0, c.w0 * c.w0 + 2 * slope * c.V));
        const double denominator = c.w0 + root;
        const double u = denominator > 0 ? std::clamp(2 * c.V / denominator, 0.0, length) : length;
        return {grid.x[k] + u, momentIn(length, c.w0, c.w1, c.V, c.M, u)};
    }
    // The shear stays positive down to the span's lower support.
    double M = 0;
    for (const Term& t : terms) M -= t.factor * t.actions->M[span + 1];
    return {grid.supports[span + 1], M};
}

}  // namespace wallcalc::review::beam
