#pragma once
// The pressures on a 1 m strip of the wall, water and soil taken separately (水土分算):
//   G  earth at rest above and below the water table, and the water (permanent)
//   Q  the surcharge on the ground, K0·p (variable)
// Depth z is measured down from the ground surface; above the ground nothing presses.

#include <vector>

#include "review/beam.h"
#include "review/review.h"

namespace wallcalc::review {

struct Site {
    double H = 0;   // depth of the base slab, m
    double L = 0;   // height of the whole wall, m (the top slab at depth H − L)
    double h1 = 0;  // depth of the water table, m
    double p = 0;   // surcharge, kN/m²
    double K0 = 0.5, gamma = 18, gammaSub = 11, gammaW = 10;
};

// The ordinates at depth z.
double earthAndWater(const Site& site, double z);
double surchargeBelow(const Site& site, double z);  // just below z (the right-hand value)
double surchargeAbove(const Site& site, double z);  // just above z (the left-hand value)

// The knots of both ordinates from the top slab to the base slab: the ends, and the ground
// surface and the water table where they lie strictly inside the wall (the surcharge steps at
// the ground: two knots there).
Loads loadKnots(const Site& site);

// The loads along the wall, x from the top slab down, on one grid for all three: G with the
// design water table, G with the crack check's (h1Sls), and Q. `supports` are the slabs' x.
struct WallLoads {
    beam::Grid grid;
    beam::Load G, Gsls, Q;
};
WallLoads wallLoads(const Site& site, double h1Sls, std::vector<double> supports);

}  // namespace wallcalc::review
