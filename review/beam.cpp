#include "review/beam.h"

#include <algorithm>
#include <cmath>

namespace wallcalc::review::beam {
namespace {

// Three-point Gauss–Legendre on [−1, 1]: exact for polynomials up to degree five.
constexpr std::array<double, 3> kNodes{-0.7745966692414834, 0.0, 0.7745966692414834};
constexpr std::array<double, 3> kWeights{5.0 / 9.0, 8.0 / 9.0, 5.0 / 9.0};

// w at u from the piece's start.
double loadAt(const Piece& piece, double u) {
    const double length = piece.x1 - piece.x0;
    return length > 0 ? piece.w0 + (piece.w1 - piece.w0) * u / length : piece.w0;
}

// Shear and moment at u into a piece from its start values:
//   V(u) = V0 − w0·u − (w1 − w0)·u²/(2ℓ),   M(u) = M0 + V0·u − w0·u²/2 − (w1 − w0)·u³/(6ℓ).
double shearIn(const Piece& piece, double V0, double u) {
    const double length = piece.x1 - piece.x0;
    if (length <= 0) return V0;
    return V0 - piece.w0 * u - (piece.w1 - piece.w0) * u * u / (2 * length);
}
double momentIn(const Piece& piece, double V0, double M0, double u) {
    const double length = piece.x1 - piece.x0;
    if (length <= 0) return M0;
    return M0 + V0 * u - piece.w0 * u * u / 2 - (piece.w1 - piece.w0) * u * u * u / (6 * length);
}

int pieceAt(const Load& load, double x) {
    for (int k = 0; k < load.count; ++k)
        if (x <= load.pieces[k].x1) return k;
    return load.count - 1;
}

}  // namespace

Actions solve(const Load& load, double L, Support support) {
    // Fixed-end moments of a load element w·da at a:
    //   both ends fixed:  Mt = w·a·(L − a)²/L²,  Mb = w·a²·(L − a)/L²
    //   pinned at the top: Mb = w·a·(L − a)·(L + a)/(2L²)
    // and the top reaction from the moments about the base slab.
    Actions out;
    out.L = L;
    double aboutBase = 0, top = 0, base = 0;
    for (int k = 0; k < load.count; ++k) {
        const Piece& piece = load.pieces[k];
        const double length = piece.x1 - piece.x0;
        if (length <= 0) continue;
        out.W += length * (piece.w0 + piece.w1) / 2;
        const double half = length / 2, middle = piece.x0 + half;
        for (int i = 0; i < 3; ++i) {
            const double a = middle + half * kNodes[i];
            const double w = loadAt(piece, a - piece.x0) * half * kWeights[i];
            aboutBase += w * (L - a);
            if (support == Support::Fixed) {
                top += w * a * (L - a) * (L - a);
                base += w * a * a * (L - a);
            } else {
                base += w * a * (L - a) * (L + a);
            }
        }
    }
    const double L2 = L * L;
    out.Mt = support == Support::Fixed ? top / L2 : 0.0;
    out.Mb = support == Support::Fixed ? base / L2 : base / (2 * L2);
    out.RA = (aboutBase + out.Mt - out.Mb) / L;
    out.RB = out.W - out.RA;

    out.V[0] = out.RA;
    out.M[0] = -out.Mt;
    for (int k = 0; k < load.count; ++k) {
        const Piece& piece = load.pieces[k];
        const double length = piece.x1 - piece.x0;
        out.V[k + 1] = shearIn(piece, out.V[k], length);
        out.M[k + 1] = momentIn(piece, out.V[k], out.M[k], length);
    }
    return out;
}

Load combine(double a, const Load& g, double b, const Load& q) {
    Load out = g;
    for (int k = 0; k < g.count; ++k) {
        out.pieces[k].w0 = a * g.pieces[k].w0 + b * q.pieces[k].w0;
        out.pieces[k].w1 = a * g.pieces[k].w1 + b * q.pieces[k].w1;
    }
    return out;
}

Actions combine(double a, const Actions& g, double b, const Actions& q) {
    Actions out;
    out.L = g.L;
    out.W = a * g.W + b * q.W;
    out.RA = a * g.RA + b * q.RA;
    out.RB = a * g.RB + b * q.RB;
    out.Mt = a * g.Mt + b * q.Mt;
    out.Mb = a * g.Mb + b * q.Mb;
    for (std::size_t k = 0; k < out.V.size(); ++k) {
        out.V[k] = a * g.V[k] + b * q.V[k];
        out.M[k] = a * g.M[k] + b * q.M[k];
    }
    return out;
}

double shearAt(const Load& load, const Actions& actions, double x) {
    if (load.count == 0) return actions.RA;
    const int k = pieceAt(load, x);
    return shearIn(load.pieces[k], actions.V[k], x - load.pieces[k].x0);
}

double momentAt(const Load& load, const Actions& actions, double x) {
    if (load.count == 0) return -actions.Mt + actions.RA * x;
    const int k = pieceAt(load, x);
    return momentIn(load.pieces[k], actions.V[k], actions.M[k], x - load.pieces[k].x0);
}

Peak largestMoment(const Load& load, const Actions& actions) {
    for (int k = 0; k < load.count; ++k) {
        const Piece& piece = load.pieces[k];
        const double V0 = actions.V[k];
        if (V0 <= 0) return {piece.x0, actions.M[k]};
        const double length = piece.x1 - piece.x0;
        if (length <= 0 || actions.V[k + 1] > 0) continue;
        // V(u) = 0: (w1 − w0)/(2ℓ)·u² + w0·u − V0 = 0, the root in [0, ℓ] in the form that does
        // not cancel.
        const double slope = (piece.w1 - piece.w0) / length;
        const double root = std::sqrt(std::max(0.0, piece.w0 * piece.w0 + 2 * slope * V0));
        const double denominator = piece.w0 + root;
        const double u = denominator > 0 ? std::clamp(2 * V0 / denominator, 0.0, length) : length;
        return {piece.x0 + u, momentIn(piece, V0, actions.M[k], u)};
    }
    // The shear stays positive down to the base slab.
    return {actions.L, actions.M[load.count]};
}

}  // namespace wallcalc::review::beam
