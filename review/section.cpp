#include "review/section.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace wallcalc::review {

double barArea(double d, double s) { return std::numbers::pi * (d * d) / 4 * 1000 / s; }

double barsArea(const Bars& bars) {
    double sum = 0;
    for (const Bar& bar : bars) sum += barArea(bar.d, bar.s);
    return sum;
}

double largestBar(const Bars& bars) {
    double d = 0;
    for (const Bar& bar : bars) d = std::max(d, bar.d);
    return d;
}

double equivalentDiameter(const Bars& bars, double nu) {
    double top = 0, bottom = 0;
    for (const Bar& bar : bars) {
        const double n = 1000 / bar.s;
        top += n * bar.d * bar.d;
        bottom += n * nu * bar.d;
    }
    return top / bottom;
}

double effectiveDepth(double t, double cover, double dh, double d) { return t - cover - dh - d / 2; }

double balancedDepth(const Concrete& concrete, const Steel& steel) {
    return concrete.beta1 / (1 + steel.fy / (steel.Es * concrete.epsCu));
}

double minimumRatio(const Concrete& concrete, const Steel& steel) {
    return std::max(0.002, 0.45 * concrete.ft / steel.fy);
}

Flexure flexure(double M, double h0, const Concrete& concrete, const Steel& steel, double xiB) {
    Flexure out;
    const double alphaFcB = concrete.alpha1 * concrete.fc * kStripWidth;
    out.alphaS = M * 1e6 / (alphaFcB * h0 * h0);
    if (!(2 * out.alphaS < 1)) return out;
    const double xi = 1 - std::sqrt(1 - 2 * out.alphaS);
    out.xi = xi;
    if (xi > xiB) return out;
    out.As = alphaFcB * xi * h0 / steel.fy;
    return out;
}

double boundedCover(double cover, double dh) { return std::clamp(cover + dh, 20.0, 65.0); }

CrackWidth crackWidth(double M, double h0, double AsP, double deq, double t, double cs, const Concrete& concrete,
                      const Steel& steel, double alphaCr) {
    CrackWidth out;
    out.sigmaS = M * 1e6 / (0.87 * h0 * AsP);
    out.rhoTeRaw = AsP / (0.5 * kStripWidth * t);
    out.rhoTe = std::max(0.01, out.rhoTeRaw);
    out.psiRaw = out.sigmaS == 0 ? 0 : 1.1 - 0.65 * concrete.ftk / (out.rhoTe * out.sigmaS);
    out.psi = out.sigmaS == 0 ? 0.2 : std::clamp(out.psiRaw, 0.2, 1.0);
    out.cs = cs;
    out.deq = deq;
    out.w = alphaCr * out.psi * out.sigmaS / steel.Es * (1.9 * cs + 0.08 * out.deq / out.rhoTe);
    return out;
}

const std::array<Candidate, 96>& candidates() {
    static const std::array<Candidate, 96> ordered = [] {
        std::array<Candidate, 96> all{};
        std::size_t i = 0;
        for (int d : kDiameters)
            for (int s : kSpacings) all[i++] = {d, s, barArea(d, s), 0};
        // d1²/s1 < d2²/s2 exactly in integers; equal areas to the larger spacing.
        std::stable_sort(all.begin(), all.end(), [](const Candidate& a, const Candidate& b) {
            const long left = long(a.d) * a.d * b.s, right = long(b.d) * b.d * a.s;
            return left != right ? left < right : a.s > b.s;
        });
        return all;
    }();
    return ordered;
}

Choice chooseBars(const Demand& demand, const Concrete& concrete, const Steel& steel) {
    // Strength depends on the diameter only (through h0): once per diameter.
    std::array<double, kDiameters.size()> h0{}, As{};
    std::array<bool, kDiameters.size()> carries{};
    for (std::size_t i = 0; i < kDiameters.size(); ++i) {
        h0[i] = effectiveDepth(demand.t, demand.cover, demand.dh, kDiameters[i]);
        if (!(h0[i] > 0) || (steel.maxBar > 0 && kDiameters[i] > steel.maxBar)) continue;
        const Flexure f = flexure(demand.Muls, h0[i], concrete, steel, demand.xiB);
        carries[i] = f.As.has_value();
        As[i] = f.As.value_or(0);
    }
    auto diameterIndex = [](int d) {
        return std::size_t(std::find(kDiameters.begin(), kDiameters.end(), d) - kDiameters.begin());
    };

    const double cs = boundedCover(demand.crackCover, demand.dh);
    Choice out;
    const Candidate* first = nullptr;  // the first to pass strength and minimum steel
    for (const Candidate& candidate : candidates()) {
        const std::size_t i = diameterIndex(candidate.d);
        if (!carries[i] || candidate.AsP < As[i] || candidate.AsP < demand.AsMin) continue;
        if (!first) first = &candidate;
        const double w = crackWidth(demand.Msls, h0[i], candidate.AsP, candidate.d / steel.nu, demand.t, cs, concrete,
                                    steel, demand.alphaCr)
                             .w;
        if (w > demand.wlim) continue;
        out.first[out.count++] = {candidate.d, candidate.s, candidate.AsP, w};
        if (out.count == 3) break;
    }
    if (out.count == 0) return out;

    const Candidate& chosen = out.first[0];
    const bool widthGoverns = long(chosen.d) * chosen.d * first->s > long(first->d) * first->d * chosen.s;
    if (widthGoverns)
        out.governs = "裂缝";
    else
        out.governs = As[diameterIndex(chosen.d)] >= demand.AsMin ? "强度" : "最小配筋率";
    return out;
}

}  // namespace wallcalc::review
