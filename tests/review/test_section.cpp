#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "review/materials.h"
#include "review/section.h"

namespace {

using namespace wallcalc::review;

const Concrete& grade(int g) { return *kMaterials.findConcrete(g); }
const Steel& bars(int fy) { return *kMaterials.findSteel(fy); }

// α1, β1 and εcu of the table follow the rules of the stress block: 1.0, 0.8 and 0.0033 up to
// C50, then linearly to 0.94, 0.74 and 0.0030 at C80.
TEST(Materials, StressBlockRowsFollowTheirRules) {
    for (const Concrete& c : kMaterials.concrete) {
        const double above = std::max(0, c.grade - 50);
        EXPECT_NEAR(c.alpha1, 1.0 - 0.06 * above / 30, 1e-12) << c.grade;
        EXPECT_NEAR(c.beta1, 0.8 - 0.06 * above / 30, 1e-12) << c.grade;
        EXPECT_NEAR(c.epsCu, std::min(0.0033, 0.0033 - (c.grade - 50) * 1e-5), 1e-15) << c.grade;
    }
    EXPECT_EQ(kMaterials.findConcrete(30.0), &kMaterials.concrete[2]);
    EXPECT_EQ(kMaterials.findConcrete(32), nullptr);
    EXPECT_EQ(kMaterials.findSteel(400), nullptr);
}

// ξb = β1/(1 + fy/(Es·εcu)), C30 (β1 0.8, εcu 0.0033) unless stated:
//   HPB300: 0.8/(1 + 270/693) = 0.575701...   HRB335: 0.8/(1 + 300/660) = 0.55
//   HRB400: 0.8/(1 + 360/660) = 0.517647...   HRB500: 0.8/(1 + 435/660) = 0.482192...
//   C80 HRB400 (β1 0.74, εcu 0.0030): 0.74/(1 + 360/600) = 0.4625
TEST(Section, BalancedDepthOfTheFourSteels) {
    struct Case {
        int grade, fy;
        double xiB;
    };
    const Case cases[] = {
        {30, 270, 0.8 / (1 + 270.0 / 693)}, {30, 300, 0.55},   {30, 360, 0.8 / (1 + 360.0 / 660)},
        {30, 435, 0.8 / (1 + 435.0 / 660)}, {80, 360, 0.4625},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(balancedDepth(grade(c.grade), bars(c.fy)), c.xiB, 1e-12) << c.grade << " " << c.fy;
}

// αs = M/(α1·fc·b·h0²), ξ = 1 − √(1 − 2αs), As = α1·fc·b·ξ·h0/fy:
//   100 kN·m, h0 250, C30, HRB400: αs = 10⁸/(14.3·1000·62500) = 0.111888112,
//       ξ = 0.118964373, As = 14300·ξ·250/360 = 1181.38231 mm²
//   250 kN·m, h0 260, C60 (α1 0.98), HRB500: αs = 0.137225412, ξ = 0.148208255, As = 2387.34539 mm²
//   400 kN·m, h0 250, C30, HRB400: αs = 0.447552448, ξ = 0.676124862 > ξb 0.517647: no As
//   900 kN·m, h0 250, C30, HRB400: αs = 1.006993007, 2αs ≥ 1: neither ξ nor As
TEST(Section, FlexureAlphaXiAndSteel) {
    struct Case {
        double M, h0;
        int grade, fy;
        double alphaS;
        std::optional<double> xi, As;
    };
    const Case cases[] = {
        {100, 250, 30, 360, 0.111888112, 0.118964373, 1181.38231},
        {250, 260, 60, 435, 0.137225412, 0.148208255, 2387.34539},
        {400, 250, 30, 360, 0.447552448, 0.676124862, std::nullopt},
        {900, 250, 30, 360, 1.006993007, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        const Concrete& concrete = grade(c.grade);
        const Steel& steel = bars(c.fy);
        const Flexure f = flexure(c.M, c.h0, concrete, steel, balancedDepth(concrete, steel));
        EXPECT_NEAR(f.alphaS, c.alphaS, 1e-9) << c.M;
        ASSERT_EQ(f.xi.has_value(), c.xi.has_value()) << c.M;
        if (c.xi) {
            EXPECT_NEAR(*f.xi, *c.xi, 1e-9) << c.M;
        }
        ASSERT_EQ(f.As.has_value(), c.As.has_value()) << c.M;
        if (c.As) {
            EXPECT_NEAR(*f.As, *c.As, 1e-5) << c.M;
        }
    }
    // ρmin = max(0.20 %, 45·ft/fy %): C30 HRB335 0.45·1.43/300 = 0.2145 %; C30 HRB400 0.20 %.
    EXPECT_NEAR(minimumRatio(grade(30), bars(300)), 0.002145, 1e-15);
    EXPECT_EQ(minimumRatio(grade(30), bars(360)), 0.002);
}

// Crack width, t = 300, h0 = 250, C30 (ftk 2.01), Es 2.0×10⁵ unless stated, each case with one
// bound active:
//   ρte floor: 12@200, As,p = 565.487, ρte = 565.487/150000 = 0.00377 → 0.01; M 60:
//       σs = 6×10⁷/(0.87·250·565.487) = 487.831, ψ = 1.1 − 1.3065/4.87831 = 0.832182, cs 30,
//       w = 1.9·0.832182·487.831/2×10⁵·(57 + 0.08·12/0.01) = 0.590069
//   ψ 0.2: 16@100, As,p 2010.62, ρte 0.0134041, M 20: σs 45.7342, 1.1 − 1.3065/0.613022 < 0.2;
//       w = 1.9·0.2·45.7342/2×10⁵·(57 + 1.28/0.0134041) = 0.0132509
//   ψ 1.0: M 600: σs 1372.03, 1.1 − 1.3065/18.3908 = 1.02896 → 1.0; w = 1.98763
//   cs 20: cover 15, M 80: σs 182.937, ψ 0.567193, w = 1.9·ψ·σs/Es·(38 + 95.4932) = 0.131587
//   cs 65: cover 70, αcr 2.1: w = 2.1·ψ·σs/Es·(123.5 + 95.4932) = 0.238589
//   plain bars (HPB300, ν 0.7, Es 2.1×10⁵), cover 30: deq = 16/0.7 = 22.8571,
//       w = 1.9·ψ·σs/2.1×10⁵·(57 + 0.08·22.8571/0.0134041) = 0.181578
//   σs = 0: ψ 0.2, w 0
TEST(Section, CrackWidthWithEachBoundActive) {
    struct Case {
        const char* name;
        double M, d, s, cover;
        int fy;
        double alphaCr;
        double rhoTe, psi, cs, deq, w;
    };
    const Case cases[] = {
        {"rho_te floor", 60, 12, 200, 30, 360, 1.9, 0.01, 0.832181975, 30, 12, 0.590069208},
        {"psi 0.2", 20, 16, 100, 30, 360, 1.9, 0.0134041287, 0.2, 30, 16, 0.0132508671},
        {"psi 1.0", 600, 16, 100, 30, 360, 1.9, 0.0134041287, 1.0, 30, 16, 1.98763007},
        {"cs 20", 80, 16, 100, 15, 360, 1.9, 0.0134041287, 0.567192969, 20, 16, 0.131587218},
        {"cs 65", 80, 16, 100, 70, 360, 2.1, 0.0134041287, 0.567192969, 65, 16, 0.238589420},
        {"plain bars", 80, 16, 100, 30, 270, 1.9, 0.0134041287, 0.567192969, 30, 16 / 0.7, 0.181578358},
        {"no moment", 0, 16, 100, 30, 360, 1.9, 0.0134041287, 0.2, 30, 16, 0},
    };
    for (const Case& c : cases) {
        const CrackWidth r = crackWidth(c.M, 250, barArea(c.d, c.s), c.d / bars(c.fy).nu, 300, boundedCover(c.cover, 0),
                                        grade(30), bars(c.fy), c.alphaCr);
        EXPECT_NEAR(r.rhoTe, c.rhoTe, 1e-9) << c.name;
        EXPECT_NEAR(r.psi, c.psi, 1e-9) << c.name;
        EXPECT_EQ(r.cs, c.cs) << c.name;
        EXPECT_NEAR(r.deq, c.deq, 1e-12) << c.name;
        EXPECT_NEAR(r.w, c.w, 1e-8) << c.name;
    }
    // dh lies outside the vertical bars: it enters the crack cover.
    EXPECT_EQ(boundedCover(50, 12), 62);
    EXPECT_EQ(boundedCover(50, 20), 65);
}

// 通长 + 附加 bars: As,p adds up, h0 takes the larger bar, deq = Σnᵢdᵢ²/Σnᵢνdᵢ with nᵢ = 1000/sᵢ.
//   16@200 + 14@200, ribbed: n 5 and 5; 5·(256 + 196)/(5·(16 + 14)) = 2260/150 = 15.0666…;
//                            As,p = π/4·(256 + 196)·5 = 1775.0 (1774.99985).
//   12@100 + 10@200, plain (ν 0.7): n 10 and 5; (1440 + 500)/(0.7·(120 + 50)) = 1940/119 =
//                            16.3025210; As,p = π/4·1940 = 1523.67244.
//   one layer 16@100: deq = 16/ν.
TEST(Bars, ThroughAndAddedBars) {
    struct Case {
        Bars bars;
        double nu, As, dMax, deq;
    };
    const Case cases[] = {
        {{{16, 200}, {14, 200}}, 1.0, 1774.99985, 16, 2260.0 / 150},
        {{{12, 100}, {10, 200}}, 0.7, 1523.67244, 12, 1940.0 / 119},
        {{{16, 100}}, 0.7, 2010.61930, 16, 16 / 0.7},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(barsArea(c.bars), c.As, 1e-5);
        EXPECT_EQ(largestBar(c.bars), c.dMax);
        EXPECT_NEAR(equivalentDiameter(c.bars, c.nu), c.deq, 1e-12);
    }
}

TEST(Choice, CandidatesInOrderOfArea) {
    const auto& all = candidates();
    for (std::size_t i = 1; i < all.size(); ++i)
        EXPECT_LE(long(all[i - 1].d) * all[i - 1].d * all[i].s, long(all[i].d) * all[i].d * all[i - 1].s) << i;
    EXPECT_EQ(all.front().d, 10);
    EXPECT_EQ(all.front().s, 200);
    EXPECT_EQ(all.back().d, 25);
    EXPECT_EQ(all.back().s, 100);
    // The one exact tie, 10@125 and 12@180 (800 mm²·4/π): the larger spacing first.
    const auto at = [&](int d, int s) {
        return std::find_if(all.begin(), all.end(), [&](const Candidate& c) { return c.d == d && c.s == s; });
    };
    EXPECT_EQ(at(12, 180) + 1, at(10, 125));
}

// The chosen bars pass all three checks, and the candidate just before them in the order fails
// the check that `governs` names. The checks are worked here from the formulas, not taken
// from the choice.
TEST(Choice, ChosenPassesAndTheNextSmallerFailsForTheGoverningReason) {
    struct Case {
        const char* name;
        Demand demand;
        int grade, fy;
        const char* governs;
    };
    const Case cases[] = {
        // Crack width: a large service moment on the soil face.
        {"crack", {156.2, 111.9, 300, 50, 50, 0, 0.2, 0, 0, 1.9}, 30, 300, "裂缝"},
        // Strength: a loose crack limit.
        {"strength", {120, 60, 300, 20, 20, 0, 0.4, 0, 0, 1.9}, 30, 360, "强度"},
        // Minimum steel: a small moment on a thick wall.
        {"minimum", {20, 12, 400, 20, 20, 0, 0.3, 0, 0, 1.9}, 30, 360, "最小配筋率"},
    };
    for (Case c : cases) {
        const Concrete& concrete = grade(c.grade);
        const Steel& steel = bars(c.fy);
        c.demand.AsMin = minimumRatio(concrete, steel) * 1000 * c.demand.t;
        c.demand.xiB = balancedDepth(concrete, steel);
        const Choice choice = chooseBars(c.demand, concrete, steel);
        ASSERT_EQ(choice.count, 3) << c.name;
        ASSERT_TRUE(choice.governs) << c.name;
        EXPECT_EQ(*choice.governs, c.governs) << c.name;

        struct Checks {
            bool strength, minimum, crack;
        };
        auto check = [&](const Candidate& k) {
            const double h0 = c.demand.t - c.demand.cover - c.demand.dh - k.d / 2.0;
            const double AsP = std::numbers::pi * k.d * k.d / 4 * 1000 / k.s;
            const double alphaS = c.demand.Muls * 1e6 / (concrete.fc * 1000 * h0 * h0);
            const double xi = 1 - std::sqrt(1 - 2 * alphaS);
            const double As = concrete.fc * 1000 * xi * h0 / steel.fy;
            const double sigma = c.demand.Msls * 1e6 / (0.87 * h0 * AsP);
            const double rhoTe = std::max(0.01, AsP / (500 * c.demand.t));
            const double psi = std::clamp(1.1 - 0.65 * concrete.ftk / (rhoTe * sigma), 0.2, 1.0);
            const double cs = std::clamp(c.demand.cover, 20.0, 65.0);
            const double w = 1.9 * psi * sigma / steel.Es * (1.9 * cs + 0.08 * k.d / rhoTe);
            return Checks{xi <= c.demand.xiB && AsP >= As, AsP >= c.demand.AsMin, w <= c.demand.wlim};
        };
        const auto& all = candidates();
        const Candidate& chosen = choice.first[0];
        const auto at = std::find_if(all.begin(), all.end(),
                                     [&](const Candidate& k) { return k.d == chosen.d && k.s == chosen.s; });
        ASSERT_NE(at, all.begin()) << c.name;
        const Checks mine = check(*at), before = check(*(at - 1));
        EXPECT_TRUE(mine.strength && mine.minimum && mine.crack) << c.name;
        const std::string_view governs = c.governs;
        const bool fails = governs == "裂缝" ? !before.crack : governs == "强度" ? !before.strength : !before.minimum;
        EXPECT_TRUE(fails) << c.name;
    }
    // Plain bars are rolled up to 22 mm: a demand the 25 mm bars would meet first takes 22 mm or
    // nothing larger for HPB300.
    Demand heavy{156.2, 111.9, 300, 50, 50, 0, 0.2, 0, 0, 2.1};
    heavy.AsMin = minimumRatio(grade(30), bars(270)) * 1000 * 300;
    heavy.xiB = balancedDepth(grade(30), bars(270));
    const Choice plain = chooseBars(heavy, grade(30), bars(270));
    for (int i = 0; i < plain.count; ++i) EXPECT_LE(plain.first[i].d, 22) << i;
    // Nothing passes: a section too thin for any bar.
    const Demand thin{300, 200, 120, 50, 50, 0, 0.2, 300, 0.55, 1.9};
    const Choice none = chooseBars(thin, grade(30), bars(300));
    EXPECT_EQ(none.count, 0);
    EXPECT_FALSE(none.governs);
}

}  // namespace
