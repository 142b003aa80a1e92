#include <gtest/gtest.h>

#include "core/fault.h"
#include "review/edition.h"
#include "review/review.h"
#include "tests/review/review_of.h"

namespace {

using namespace wallcalc;
using namespace wallcalc::review;

using wallcalc::testing::reviewOf;

std::vector<std::pair<double, double>> pairs(const std::vector<Knot>& knots) {
    std::vector<std::pair<double, double>> out;
    for (const Knot& k : knots) out.emplace_back(k.z, k.e);
    return out;
}

// Knots of the ordinates, K0 0.5, γ 18, γ′ 11, γw 10, p 10 (K0·p = 5), L 4.5 m. Below the
// water table G grows by K0·γ′ + γw = 15.5 per metre.
TEST(Loads, KnotsFollowTheGeometry) {
    using P = std::vector<std::pair<double, double>>;
    struct Case {
        const char* name;
        const char *H, *h1, *p;
        P G, Q;
    };
    const Case cases[] = {
        // The window's wall: the water table at the top slab, both ordinates straight.
        {"defaults", "5", "0.5", "10", {{0.5, 4.5}, {5, 74.25}}, {{0.5, 5}, {5, 5}}},
        // Half a metre above the ground, the water at 2 m: 0.5·18·2 = 18, 18 + 15.5·2 = 49.
        {"partly above ground",
         "4",
         "2",
         "10",
         {{-0.5, 0}, {0, 0}, {2, 18}, {4, 49}},
         {{-0.5, 0}, {0, 0}, {0, 5}, {4, 5}}},
        // The top slab at the ground takes the surcharge at once; 4.5 + 15.5·4 = 66.5.
        {"top slab at the ground", "4.5", "0.5", "10", {{0, 0}, {0.5, 4.5}, {4.5, 66.5}}, {{0, 5}, {4.5, 5}}},
        // Water table at the ground: one knot; no surcharge still steps in its knots.
        {"water at the ground", "4", "0", "0", {{-0.5, 0}, {0, 0}, {4, 62}}, {{-0.5, 0}, {0, 0}, {0, 0}, {4, 0}}},
        // The water below the base slab: 0.5·18·5 = 45.
        {"dry", "5", "10", "10", {{0.5, 4.5}, {5, 45}}, {{0.5, 5}, {5, 5}}},
        // Wholly above the ground: nothing presses.
        {"above ground", "-1", "0.5", "10", {{-5.5, 0}, {-1, 0}}, {{-5.5, 0}, {-1, 0}}},
    };
    for (const Case& c : cases) {
        const Result r = reviewOf({{Field::Text3, c.H}, {Field::Text2, c.h1}, {Field::Text1, c.p}});
        EXPECT_EQ(pairs(r.loads.G), c.G) << c.name;
        EXPECT_EQ(pairs(r.loads.Q), c.Q) << c.name;
    }
    // Nothing on the wall: no sagging anywhere, the span moment 0 at mid-height.
    const Result empty = reviewOf({{Field::Text3, "-1"}});
    EXPECT_EQ(empty.sections[0].Muls, 0);
    EXPECT_EQ(empty.sections[0].x, 2.25);
}

// The window's wall by hand: H 5, L 4.5, t 300, C30 (fc 14.3, ft 1.43, ftk 2.01), HRB335
// (fy 300), 16@100, water at the top slab, propped.
//   G: 4.5 uniform + triangle 0 → 69.75; Q: 5 uniform.
//   Base (propped): MG = 4.5·4.5²/8 + 69.75·4.5²/15 = 11.390625 + 94.1625 = 105.553125,
//                   MQ = 5·4.5²/8 = 12.65625.
//   Span: uniform q and triangle p give RA = 3qL/8 + pL/10 and V = RA − q·x − p·x²/(2L).
//
// current: M_uls = 1.3·105.553125 + 1.5·12.65625 = 156.2034375; Mq = 105.553125 + 0.5·12.65625
//   = 111.88125. h0 = 300 − 50 − 8 = 242; αs = 156.2034375×10⁶/(14300·242²) = 0.186519317,
//   ξ = 0.208191080, As = 14300·ξ·242/300 = 2401.55351; As,min = 0.2145 %·300000 = 643.5.
//   16@100: As,p = 2010.61930 < As: not ok. σs = 111.88125×10⁶/(0.87·242·2010.6193) = 264.297372,
//   ρte = 0.0134041287, ψ = 0.731210980, w = 1.9·ψ·σs/2×10⁵·(95 + 0.08·16/ρte) = 0.349734196.
//   Span (inner face, h0 272): q = 13.35, p = 90.675, RA = 63.331875; 10.075x² + 13.35x − RA = 0
//   gives x = 1.93072746, M_uls = 73.2235753. Mq: q = 7, p = 69.75, RA = 43.2, x = 1.95216491,
//   Mq = 51.7762435. αs = 0.0692113125, ξ = 0.0717880764, As = 930.756340; σs = 108.820956,
//   ψ = 0.204308833, w = 1.9·ψ·σs/2×10⁵·(38 + 95.4932) = 0.0281956211: ok.
// 2002: base 1.2G + 1.4Q = 144.3825 < 1.35G + 0.98Q = 154.89984375; Mk = 118.209375;
//   αs = 0.184962723, ξ = 0.206227643, As = 2378.90461; σs = 279.246318, ψ = 0.750953433,
//   w (αcr 2.1) = 0.419438900. Span: 1.2G + 1.4Q peaks at 67.6982461, 1.35G + 0.98Q at
//   72.0174288 (x = 1.94436446, q = 10.975, p = 94.1625): the latter; Mk (q 9.5, p 69.75) peaks at
//   55.2537721. αs = 0.0680712564, ξ = 0.0705606597, As = 914.842474; σs = 116.129867,
//   ψ = 0.260681303, w = 0.0424327808.
TEST(Wall, TheWindowsWallInBothEditions) {
    struct Figures {
        double x, Muls, Msls, h0, alphaS, xi, As, sigmaS, psi, w;
        bool ok;
    };
    struct Case {
        const char* edition;
        Figures base, span;
        const char* baseCombination;
    };
    const Case cases[] = {
        {"current",
         {4.5, 156.2034375, 111.88125, 242, 0.186519317, 0.208191080, 2401.55351, 264.297372, 0.731210980, 0.349734196,
          false},
         {1.93072746, 73.2235753, 51.7762435, 272, 0.0692113125, 0.0717880764, 930.756340, 108.820956, 0.204308833,
          0.0281956211, true},
         "1.3G + 1.5Q"},
        {"2002",
         {4.5, 154.89984375, 118.209375, 242, 0.184962723, 0.206227643, 2378.90461, 279.246318, 0.750953433,
          0.419438900, false},
         {1.94436446, 72.0174288, 55.2537721, 272, 0.0680712564, 0.0705606597, 914.842474, 116.129867, 0.260681303,
          0.0424327808, true},
         "1.35G + 1.4×0.7Q"},
    };
    for (const Case& c : cases) {
        const Result r = reviewOf({}, {{"edition", c.edition}});
        ASSERT_EQ(r.sections.size(), 2u);
        EXPECT_NEAR(r.rhoMin, 0.002145, 1e-15);
        EXPECT_EQ(r.xiB, 0.55);
        EXPECT_EQ(r.sections[1].combination, c.baseCombination);
        for (const auto& [section, f] : {std::pair{&r.sections[1], c.base}, std::pair{&r.sections[0], c.span}}) {
            const std::string label = std::string(c.edition) + " " + std::string(section->name);
            EXPECT_NEAR(section->x, f.x, 1e-8) << label;
            EXPECT_NEAR(section->Muls, f.Muls, 1e-7) << label;
            EXPECT_NEAR(section->Msls, f.Msls, 1e-7) << label;
            EXPECT_EQ(section->h0, f.h0) << label;
            EXPECT_NEAR(section->alphaS, f.alphaS, 1e-9) << label;
            EXPECT_NEAR(section->xi.value(), f.xi, 1e-9) << label;
            EXPECT_NEAR(section->As.value(), f.As, 1e-5) << label;
            EXPECT_NEAR(section->AsMin, 643.5, 1e-9) << label;
            EXPECT_NEAR(section->AsReq.value(), f.As, 1e-5) << label;
            EXPECT_NEAR(section->given.AsP, 2010.61930, 1e-5) << label;
            EXPECT_NEAR(section->given.sigmaS, f.sigmaS, 1e-6) << label;
            EXPECT_NEAR(section->given.rhoTe, 0.0134041287, 1e-10) << label;
            EXPECT_NEAR(section->given.psi, f.psi, 1e-9) << label;
            EXPECT_NEAR(section->given.w, f.w, 1e-9) << label;
            EXPECT_EQ(section->given.ok, f.ok) << label;
            EXPECT_EQ(section->note, "") << label;
        }
    }
}

// Fixed at both slabs the top slab is a third section on the soil face; γ0 scales the ULS
// moments and never the crack moment. Window's wall, fixed: MG top = 4.5·L²/12 + 69.75·L²/30 =
// 7.59375 + 47.08125 = 54.675, MQ top = 5·L²/12 = 8.4375; γ0 1.1: M_uls = 1.1·(1.3·54.675 +
// 1.5·8.4375) = 1.1·83.73375 = 92.107125; Mq = 54.675 + 0.5·8.4375 = 58.89375.
TEST(Wall, FixedTopSlabAndImportanceFactor) {
    const Result r = reviewOf({}, {{"support", "fixed"}, {"gamma0", "1.1"}});
    ASSERT_EQ(r.sections.size(), 3u);
    const Section& top = r.sections[0];
    EXPECT_EQ(top.name, "top");
    EXPECT_EQ(top.x, 0);
    EXPECT_EQ(top.cover, 50);
    EXPECT_NEAR(top.Muls, 92.107125, 1e-9);
    EXPECT_NEAR(top.Msls, 58.89375, 1e-9);
}

// The crushed section: a 120 mm wall under the window's loads.
TEST(Wall, SectionTheConcreteCannotCarry) {
    const Result r = reviewOf({{Field::Text4, "120"}});
    const Section& base = r.sections.back();
    EXPECT_EQ(base.note, "截面不足");
    EXPECT_FALSE(base.As);
    EXPECT_FALSE(base.AsReq);
    EXPECT_GT(base.alphaS, 0.5);
    EXPECT_FALSE(base.xi);
    EXPECT_FALSE(base.given.ok);
    EXPECT_NEAR(base.AsMin, 0.002145 * 1000 * 120, 1e-9);
    EXPECT_GT(base.given.w, 0);
    EXPECT_TRUE(base.choice.empty());
    EXPECT_FALSE(base.governs);
}

}  // namespace
