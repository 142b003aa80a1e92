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

WallLoads wallLoads(const Site& site, double h1Sls, std::vector<double> supports) {
    const double top = site.H - site.L;
    std::vector<double> cuts;
    for (double z : {0.0, site.h1, h1Sls})
        if (top < z && z < site.H) cuts.push_back(z - top);
    WallLoads out{beam::makeGrid(std::move(supports), std::move(cuts)), {}, {}, {}};
    Site sls = site;
    sls.h1 = h1Sls;
    const int n = out.grid.pieces();
    for (beam::Load* load : {&out.G, &out.Gsls, &out.Q}) {
        load->w0.resize(n);
        load->w1.resize(n);
    }
    for (int k = 0; k < n; ++k) {
        // The base slab's depth exactly, so that the last knot is that of the ordinates.
        const double z0 = top + out.grid.x[k];
        const double z1 = k + 1 == n ? site.H : top + out.grid.x[k + 1];
        out.G.w0[k] = earthAndWater(site, z0);
        out.G.w1[k] = earthAndWater(site, z1);
        out.Gsls.w0[k] = earthAndWater(sls, z0);
        out.Gsls.w1[k] = earthAndWater(sls, z1);
        out.Q.w0[k] = surchargeBelow(site, z0);
        out.Q.w1[k] = surchargeAbove(site, z1);
    }
    return out;
}

}  // namespace wallcalc::review
