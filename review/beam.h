#pragma once
// A strip of the wall spanning from the top slab (x = 0) to the base slab (x = L), fixed at the
// base slab and pinned or fixed at the top slab, under a piecewise-linear load w(x) ≥ 0 that
// presses towards the inside. Solved exactly: every integral is a polynomial of degree four at
// most on each linear piece, which three-point Gauss–Legendre integrates without error.
//
// Moments are sagging positive (tension on the inner face); the support moments are given as
// hogging magnitudes.

#include <array>

#include "review/review.h"

namespace wallcalc::review::beam {

// The ground surface and the water table cut the storey into three pieces at most.
inline constexpr int kMaxPieces = 3;

// w runs linearly from w0 at x0 to w1 at x1; a step in the load falls between two pieces.
struct Piece {
    double x0 = 0, x1 = 0, w0 = 0, w1 = 0;
};

struct Load {
    int count = 0;
    std::array<Piece, kMaxPieces> pieces{};

    void add(const Piece& piece) { pieces[count++] = piece; }
};

struct Actions {
    double L = 0;
    double W = 0;                            // the whole load, kN/m
    double RA = 0;                           // reaction at the top slab
    double RB = 0;                           // reaction at the base slab
    double Mt = 0;                           // hogging moment at the top slab (0 when pinned)
    double Mb = 0;                           // hogging moment at the base slab
    std::array<double, kMaxPieces + 1> V{};  // shear at the start of each piece, and at x = L
    std::array<double, kMaxPieces + 1> M{};  // moment at the same points
};

Actions solve(const Load& load, double L, Support support);

// a·g + b·q on the same grid of pieces (loads and actions are linear in the load).
Load combine(double a, const Load& g, double b, const Load& q);
Actions combine(double a, const Actions& g, double b, const Actions& q);

double shearAt(const Load& load, const Actions& actions, double x);
double momentAt(const Load& load, const Actions& actions, double x);

// The stationary point of the moment: the first x from the top where the shear reaches zero
// (the moment is concave under a load that presses one way, so that is its largest value, and
// of two equal maxima the one nearer the top). M may be ≤ 0 when nothing sags.
struct Peak {
    double x = 0, M = 0;
};
Peak largestMoment(const Load& load, const Actions& actions);

}  // namespace wallcalc::review::beam
