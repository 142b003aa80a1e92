// The wall as built: several storeys, the envelope of the top slab, the shear at every support,
// the crack check's own water table and cover, and the warnings.
#include <gtest/gtest.h>

#include <limits>

#include "review/review.h"
#include "tests/review/review_of.h"

namespace {

using namespace wallcalc;
using namespace wallcalc::review;

using wallcalc::testing::reviewOf;

// Three storeys of 4 m, the top slab at the ground (H 12), the water below the base. The beam is
// linear, so the surcharge's own share of each support's moment and of each end's shear (MQ, VQ:
// unfactored) is that of a uniform K0·p = 0.5·20 = 10 kN/m² alone, whatever the earth adds (the
// unit weight can no longer be set to 0 to leave the surcharge alone: no soil weighs nothing).
// ql = 40, ql² = 160. Three-moment equations (pinned top, fixed base, hogging M):
// 4M1 + M2 = ql²/2, M1 + 4M2 + M3 = ql²/2, M2 + 2M3 = ql²/4, so M1 = 11ql²/104, M2 = 8ql²/104,
// M3 = 9ql²/104: slab1 16.9230769, slab2 12.3076923, base 13.8461538 kN·m/m.
// End shears: below the top 41ql/104 = 15.7692308, above the base (ql/2 + (M3 − M2)/l)
// = 53ql/104 = 20.3846154 kN/m. (The spans' largest moments and the intermediate supports'
// governing sides depend on the whole load: the continuous beam's own test works them by hand.)
TEST(Storeys, ThreeStoreysByHand) {
    const Result r =
        reviewOf({{Field::Text3, "12"}, {Field::Text9, "4000"}, {Field::Text1, "20"}, {Field::Text2, "20"}},
                 {{"upper_storeys", "4000/4000"}});
    EXPECT_EQ(r.storeys, (std::vector<double>{4, 4, 4}));
    struct Expected {
        const char* name;
        SectionKind kind;
        int storey;
        double MQ;  // at a support; spans: not checked here (NaN)
    };
    const double none = std::numeric_limits<double>::quiet_NaN();
    const Expected sections[] = {
        {"span1", SectionKind::Span, 1, none}, {"slab1", SectionKind::Slab, 1, 16.9230769},
        {"span2", SectionKind::Span, 2, none}, {"slab2", SectionKind::Slab, 2, 12.3076923},
        {"span3", SectionKind::Span, 3, none}, {"base", SectionKind::Base, 3, 13.8461538},
    };
    ASSERT_EQ(r.sections.size(), std::size(sections));
    for (std::size_t i = 0; i < std::size(sections); ++i) {
        const Section& s = r.sections[i];
        const Expected& e = sections[i];
        EXPECT_EQ(s.name, e.name);
        EXPECT_EQ(s.kind, e.kind) << e.name;
        EXPECT_EQ(s.storey, e.storey) << e.name;
        EXPECT_EQ(s.face, e.kind == SectionKind::Span ? Face::Inner : Face::Soil) << e.name;
        if (e.kind != SectionKind::Span) {
            EXPECT_NEAR(s.x, e.storey * 4.0, 1e-9) << e.name;
            EXPECT_NEAR(s.MQ, e.MQ, 1e-6) << e.name;
        }
    }
    ASSERT_EQ(r.shear.size(), 4u);
    EXPECT_EQ(r.shear.front().at, "top");
    EXPECT_NEAR(r.shear.front().VQ, 15.7692308, 1e-6);
    EXPECT_EQ(r.shear.back().at, "base");
    EXPECT_NEAR(r.shear.back().VQ, 20.3846154, 1e-6);
}

// H 6 m, storey 5.5 m, t 300, C30 (ft 1.43), HRB400, 25@100, water at the top slab (0.5 m),
// propped. G: 4.5 uniform + triangle 0 → 85.25; Q: 5 uniform. Propped, the base reaction is
// 5qL/8 + 2pL/5: G 15.46875 + 187.55 = 203.01875, Q 17.1875; V = 1.3·203.01875 + 1.5·17.1875
// = 289.705625 kN/m. The top: 3qL/8 + pL/10: G 56.16875, Q 10.3125, V = 88.488125.
// h0 = 300 − 50 − 12.5 = 237.5 (< 800: βh = 1); Vc = 0.7·1.43·1000·237.5 = 237.7375 kN/m: the
// base fails whatever bars the wall has, and so does the wall.
TEST(Storeys, ShearOnTheConcreteAlone) {
    const Result r = reviewOf({{Field::Text3, "6"},
                               {Field::Text9, "5500"},
                               {Field::Text4, "300"},
                               {Field::Text10, "30"},
                               {Field::Text13, "360"},
                               {Field::Text17, "25"},
                               {Field::Text25, "100"}});
    ASSERT_EQ(r.shear.size(), 2u);
    const Shear& top = r.shear[0];
    const Shear& base = r.shear[1];
    EXPECT_NEAR(top.V, 88.488125, 1e-9);
    EXPECT_TRUE(top.ok);
    EXPECT_EQ(base.at, "base");
    EXPECT_EQ(base.x, 5.5);
    EXPECT_NEAR(base.V, 289.705625, 1e-9);
    EXPECT_EQ(base.h0, 237.5);
    EXPECT_EQ(base.betaH, 1);
    EXPECT_NEAR(base.Vc, 237.7375, 1e-9);
    EXPECT_FALSE(base.ok);
    EXPECT_FALSE(r.ok);
    // βh below 1 only past h0 800: t 1300, h0 = 1300 − 50 − 8 = 1242, βh = (800/1242)^¼.
    const Result thick = reviewOf({{Field::Text4, "1300"}});
    EXPECT_NEAR(thick.shear[0].betaH, 0.895864026, 1e-9);
    EXPECT_NEAR(thick.shear[0].Vc, 1113.77578, 1e-5);
}

// The envelope of the window's wall: every section the larger of both models. Fixed top: M_uls
// = 1.3·54.675 + 1.5·8.4375 = 83.73375, Mq = 58.89375. Base: propped 156.2034375 against
// fixed 1.3·78.215625 + 1.5·8.4375 = 114.3365625. Span: propped 73.2235753 at 1.93072746.
// Shear at the top: fixed RA = 1.3·57.20625 + 1.5·11.25 = 91.243125 against propped
// 63.331875; at the base propped 200.761875 against fixed 172.850625.
TEST(Storeys, EnvelopeOfPinnedAndFixedTop) {
    const Result r = reviewOf({}, {{"support", "envelope"}});
    ASSERT_EQ(r.sections.size(), 3u);
    EXPECT_EQ(r.sections[0].name, "top");
    EXPECT_EQ(r.sections[0].model, Support::Fixed);
    EXPECT_NEAR(r.sections[0].Muls, 83.73375, 1e-9);
    EXPECT_NEAR(r.sections[0].Msls, 58.89375, 1e-9);
    EXPECT_NEAR(r.sections[1].Muls, 73.2235753, 1e-7);
    EXPECT_NEAR(r.sections[1].x, 1.93072746, 1e-8);
    EXPECT_EQ(r.sections[2].model, Support::Propped);
    EXPECT_NEAR(r.sections[2].Muls, 156.2034375, 1e-9);
    EXPECT_NEAR(r.shear[0].V, 91.243125, 1e-9);
    EXPECT_EQ(r.shear[0].model, Support::Fixed);
    EXPECT_NEAR(r.shear[1].V, 200.761875, 1e-9);
}

// The crack check's water table at 2 m, the window's wall: G_sls = 4.5 + 9a above it and
// + 15.5 per metre below (a from the top slab, L 4.5). Propped base moment of w = k·a is kL³/15,
// of k·(a − c) beyond c: k/(2L²)·∫(a − c)·a·(L² − a²)da = 6.5/40.5·103.275 = 16.575; so
// MG_sls = 11.390625 + 54.675 + 16.575 = 82.640625, Mq = 82.640625 + 0.5·12.65625 = 88.96875.
// Strength keeps the design water table (156.2034375). A crack cover of 30 mm on the soil face
// changes cs and not h0: w = 1.9·ψ·σs/Es·(1.9·30 + 0.08·16/ρte) = 0.279968367 (50 mm: 0.349734196).
TEST(Storeys, CrackCheckWaterTableAndCover) {
    const Result r = reviewOf({}, {{"h1_sls", "2"}});
    std::vector<std::pair<double, double>> knots;
    for (const Knot& k : r.loads.Gsls) knots.emplace_back(k.z, k.e);
    EXPECT_EQ(knots, (std::vector<std::pair<double, double>>{{0.5, 4.5}, {2, 18}, {5, 64.5}}));
    EXPECT_NEAR(r.sections[1].Muls, 156.2034375, 1e-9);
    EXPECT_NEAR(r.sections[1].Msls, 88.96875, 1e-9);

    const Result c = reviewOf({}, {{"crack_cover_out", "30"}});
    EXPECT_EQ(c.sections[1].h0, 242);
    EXPECT_EQ(c.sections[1].given.cs, 30);
    EXPECT_NEAR(c.sections[1].given.w, 0.279968367, 1e-8);
    EXPECT_EQ(c.sections[0].given.cs, 20);  // the inner face keeps cover_in
}

// 通长 + 附加 on the soil face: As,p = π/4·(16² + 14²)·5 = 1774.99985, h0 = 300 − 50 − 8 = 242,
// deq = 2260/150; the inner face keeps Text17@Text25.
TEST(Storeys, BarsPerFace) {
    const Result r = reviewOf({}, {{"bars_out", "16@200+14@200"}, {"bars_in", "12@150"}});
    const GivenBars& out = r.sections[1].given;
    EXPECT_EQ(out.bars, (Bars{{16, 200}, {14, 200}}));
    EXPECT_NEAR(out.AsP, 1774.99985, 1e-5);
    EXPECT_EQ(out.h0, 242);
    EXPECT_NEAR(out.deq, 2260.0 / 150, 1e-12);
    const GivenBars& in = r.sections[0].given;
    EXPECT_EQ(in.bars, (Bars{{12, 150}}));
    EXPECT_EQ(in.h0, 300 - 20 - 6);
}

TEST(Storeys, Warnings) {
    struct Case {
        std::initializer_list<std::pair<Field, const char*>> fields;
        std::initializer_list<std::pair<const char*, const char*>> options;
        std::vector<std::string_view> codes;
    };
    const Case cases[] = {
        {{}, {}, {"HRB335_withdrawn"}},
        {{}, {{"edition", "2002"}}, {}},
        {{{Field::Text13, "360"}}, {}, {}},
        {{{Field::Text4, "240"}, {Field::Text10, "20"}, {Field::Text13, "435"}},
         {{"cover_out", "40"}},
         {"t_below_250", "cover_out_below_50", "concrete_below_C25", "steel_500_below_C30"}},
        {{{Field::Text10, "25"}, {Field::Text13, "435"}}, {{"edition", "2002"}}, {}},
        {{{Field::Text13, "270"}}, {{"bars_in", "25@200"}}, {"HPB300_bar_over_22"}},
        {{{Field::Text13, "270"}, {Field::Text17, "22"}}, {}, {}},
    };
    for (const Case& c : cases) {
        const Result r = reviewOf(c.fields, c.options);
        std::vector<std::string_view> codes;
        for (const Warning* w : r.warnings) codes.push_back(w->code);
        EXPECT_EQ(codes, c.codes);
    }
}

}  // namespace
