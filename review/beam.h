#pragma once
// The wall as a continuous beam of constant EI over every slab: x from the top slab (0) down to
// the base slab, the top slab pinned or fixed, every intermediate slab a pin the wall runs over,
// the base slab fixed. Under a piecewise-linear load w(x) ≥ 0 that presses towards the inside it
// is solved exactly: the end rotations of each span as a simple beam are integrals of a
// polynomial of degree four on each linear piece, which three-point Gauss–Legendre integrates
// without error, and the support moments follow from the three-moment equations (slope
// continuity over each slab, zero slope at a fixed end), a tridiagonal system.
//
// Moments are sagging positive (tension on the inner face); the support moments are given as
// hogging values.

#include <span>
#include <vector>

namespace wallcalc::review::beam {

// The pieces of the wall on which every load is linear: cut at every support and wherever an
// ordinate bends or steps. A load is two values per piece (a step falls between two pieces).
struct Grid {
    std::vector<double> supports;  // x of the top slab (0), every intermediate slab, the base slab
    std::vector<double> x;         // piece k runs from x[k] to x[k + 1]
    std::vector<int> first;        // first piece of each span; first.back() = the number of pieces

    int spans() const { return static_cast<int>(supports.size()) - 1; }
    int pieces() const { return static_cast<int>(x.size()) - 1; }
};

// Builds the grid: the supports, and the cuts strictly inside a span (in any order; a cut at a
// support or repeated is dropped).
Grid makeGrid(std::vector<double> supports, std::vector<double> cuts);

struct Load {
    std::vector<double> w0, w1;  // at the start and the end of each piece
};

struct Actions {
    std::vector<double> M;      // hogging moment at each support (0 at a pinned top slab)
    std::vector<double> V, Mx;  // shear and moment at the start of each piece, sagging positive
    std::vector<double> Vend;   // shear just above each support below the top (the end of each span)
};

Actions solve(const Grid& grid, const Load& load, bool fixedTop);

// One term of a combination: factor × a load and its actions (loads and actions are linear).
struct Term {
    double factor = 0;
    const Load* load = nullptr;
    const Actions* actions = nullptr;
};

double momentAt(const Grid& grid, std::span<const Term> terms, double x);

// The shear just above support j (none for the top slab: 0) and just below it (none for the base
// slab: 0).
double shearAbove(std::span<const Term> terms, int j);
double shearBelow(const Grid& grid, std::span<const Term> terms, int j);

// The largest moment of a span: the first x from its top where the shear reaches zero (the
// moment is concave under a load that presses one way, so that is its largest value, and of two
// equal maxima the one nearer the top). M may be ≤ 0 when nothing sags.
struct Peak {
    double x = 0, M = 0;
};
Peak largestMoment(const Grid& grid, std::span<const Term> terms, int span);

}  // namespace wallcalc::review::beam
