#pragma once
// The pressures on a 1 m strip of the wall, water and soil taken separately (水土分算):
//   G  earth at rest above and below the water table, and the water (permanent)
//   Q  the surcharge on the ground, K0·p (variable)
// Depth z is measured down from the ground surface; above the ground nothing presses.

#include "review/beam.h"
#include "review/review.h"

namespace wallcalc::review {

struct Site {
    double H = 0;   // depth of the base slab, m
    double L = 0;   // storey height, m (the top slab at depth H − L)
    double h1 = 0;  // depth of the water table, m
    double p = 0;   // surcharge, kN/m²
    double K0 = 0.5, gamma = 18, gammaSub = 11, gammaW = 10;
};

// The ordinates at depth z.
double earthAndWater(const Site& site, double z);
double surchargeBelow(const Site& site, double z);  // just below z (the right-hand value)
double surchargeAbove(const Site& site, double z);  // just above z (the left-hand value)

// The knots of both ordinates from the top slab to the base slab: the ends, and the ground
// surface and the water table where they lie strictly inside the storey (the surcharge steps
// at the ground: two knots there).
Loads loadKnots(const Site& site);

// The same loads along the span, x from the top slab down, on one grid of pieces for both.
struct SpanLoads {
    beam::Load G, Q;
};
SpanLoads spanLoads(const Site& site, const Loads& knots);

}  // namespace wallcalc::review
