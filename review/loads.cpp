#include "review/loads.h"

#include <algorithm>

namespace wallcalc::review {

double earthAndWater(const Site& site, double z) {
    if (z <= 0) return 0;
    const double belowWater = std::max(0.0, z - site.h1);
    return site.K0 * site.gamma * std::min(z, site.h1) + site.K0 * site.gammaSub * belowWater +
           site.gammaW * belowWater;
}

double surchargeBelow(const Site& site, double z) { return z >= 0 ? site.K0 * site.p : 0.0; }
double surchargeAbove(const Site& site, double z) { return z > 0 ? site.K0 * site.p : 0.0; }

Loads loadKnots(const Site& site) {
    const double top = site.H - site.L;
    const double base = site.H;
    auto inside = [&](double z) { return top < z && z < base; };

    Loads loads;
    loads.G.reserve(4);
    loads.Q.reserve(4);

    loads.G.push_back({top, earthAndWater(site, top)});
    const double first = std::min(0.0, site.h1), second = std::max(0.0, site.h1);
    if (inside(first)) loads.G.push_back({first, earthAndWater(site, first)});
    if (second != first && inside(second)) loads.G.push_back({second, earthAndWater(site, second)});
    loads.G.push_back({base, earthAndWater(site, base)});

    loads.Q.push_back({top, surchargeBelow(site, top)});
    if (inside(0.0)) {
        loads.Q.push_back({0.0, 0.0});
        loads.Q.push_back({0.0, site.K0 * site.p});
    }
    loads.Q.push_back({base, surchargeAbove(site, base)});
    return loads;
}

SpanLoads spanLoads(const Site& site, const Loads& knots) {
    // The grid is that of G: the ground surface and the water table are its inner knots, and
    // the surcharge steps only at the ground.
    const double top = site.H - site.L;
    SpanLoads span;
    const std::size_t n = knots.G.size();
    double x0 = 0;
    for (std::size_t k = 0; k + 1 < n; ++k) {
        const double z0 = knots.G[k].z, z1 = knots.G[k + 1].z;
        const double x1 = k + 2 == n ? site.L : std::min(z1 - top, site.L);
        span.G.add({x0, x1, knots.G[k].e, knots.G[k + 1].e});
        const double q0 = k == 0 ? knots.Q.front().e : surchargeBelow(site, z0);
        const double q1 = k + 2 == n ? knots.Q.back().e : surchargeAbove(site, z1);
        span.Q.add({x0, x1, q0, q1});
        x0 = x1;
    }
    return span;
}

}  // namespace wallcalc::review
