#pragma once
// 复核: the wall of the window checked by the codes in force (or by the 2002 edition), with the
// exact beam, minimum steel, the crack width on each face and an automatic bar choice. A second,
// independent calculation: it reads the fields and writes none.
//
// Units: kN, m, kN/m² for loads; kN·m per metre for moments; mm, mm² per metre, N/mm² for the
// section.

#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/fields.h"
#include "review/options.h"

namespace wallcalc::review {

struct Edition;    // one row of the edition table (review/edition.h)
struct Materials;  // concrete and steel of the wall (review/materials.h)
struct Concrete;   // one row of the concrete table
struct Steel;      // one row of the steel table

struct Knot {
    double z;  // depth below the ground surface, m
    double e;  // unfactored pressure, kN/m²
};

struct Loads {
    std::vector<Knot> G;     // earth and water (permanent)
    std::vector<Knot> Q;     // surcharge (variable)
    std::vector<Knot> Gsls;  // earth and water with the crack check's water table
};

struct GivenBars {
    Bars bars;                                   // as read (bars_out or bars_in, or Text17@Text25)
    double dMax = 0;                             // the largest diameter: it sets h0
    double h0 = 0;                               // with dMax
    double AsP = 0;                              // Σ π·d²/4·1000/s
    double sigmaS = 0, rhoTe = 0, psi = 0;       // ρte after its floor, ψ after its bounds
    double cs = 0, deq = 0;                      // cs after its bounds
    double rhoTeRaw = 0, psiRaw = 0, csRaw = 0;  // before their bounds (ψ: 0 when σs = 0)
    double w = 0;
    bool ok = false;
};

struct Candidate {
    int d = 0, s = 0;
    double AsP = 0;
    double w = 0;
};

// What a section is: the top slab, a storey's span, a slab between two storeys, the base slab.
enum class SectionKind { Top, Span, Slab, Base };
enum class Face { Soil, Inner };

struct Section {
    SectionKind kind = SectionKind::Span;
    int storey = 0;    // span<i> and slab<i>: i (1 = the top storey); top 0; base the count of storeys
    std::string name;  // "top", "span<i>", "slab<i>" or "base"
    Face face = Face::Inner;
    // For the envelope: the model whose moment governs the ULS (and, for a span, x).
    Support model = Support::Propped;
    Support slsModel = Support::Propped;
    double x = 0;           // from the top slab, m
    double MG = 0, MQ = 0;  // unfactored moments of G and Q at x (magnitudes, same sense as M_uls)
    double Muls = 0;        // design moment, γ0 included
    double Msls = 0;        // moment of the crack check (Mq or Mk)
    // The ULS combination that gives Muls (γG, γQ before γ0; its text as the report writes it),
    // and for the span where the moment of the crack check is largest (x for a support).
    double factorG = 0, factorQ = 0;
    std::string_view combination;
    double xSls = 0;
    double MGsls = 0, MQsls = 0;  // unfactored moments of G and Q at xSls
    double cover = 0;             // of the face in tension (h0)
    double crackCover = 0;        // c of cs = c + dh in the crack width
    double wlim = 0;
    double h0 = 0;  // with the given bars' largest d
    double alphaS = 0;
    std::optional<double> xi, As;
    double AsMin = 0;
    std::optional<double> AsReq;
    GivenBars given;
    std::vector<Candidate> choice;       // the first three that pass, fewer when fewer pass
    std::optional<std::string> governs;  // 强度, 最小配筋率 or 裂缝; none when nothing passes
    std::string note;                    // "截面不足" or ""
};

// The shear at a support against the concrete alone (no stirrups):
//   V ≤ Vc = 0.7·βh·ft·b·h0, βh = (800/h0)^¼ with h0 taken within [800, 2000].
struct Shear {
    SectionKind kind = SectionKind::Base;
    int storey = 0;
    std::string at;  // the support's name, as its section's
    double x = 0;
    double V = 0;  // γ0 × the largest |shear| just beside the support, kN/m
    // The unfactored shears and the combination that give V (for the report).
    double VG = 0, VQ = 0, factorG = 0, factorQ = 0;
    Support model = Support::Propped;
    bool below = true;  // the shear just below the support (otherwise just above)
    double h0 = 0, betaH = 1, Vc = 0;
    bool ok = false;
};

// A rule of the drawing review the wall does not keep: it never refuses and never changes a
// number.
struct Warning {
    std::string_view code;
    std::string_view rule;  // the clause and what it requires, as the report and the window say it
};

struct Result {
    const Edition* edition = nullptr;
    Support support = Support::Propped;
    Options options;
    const Materials* materials = nullptr;
    double H = 0, L = 0, h1 = 0, p = 0, t = 0;  // the wall as read from the fields (L: the window's storey)
    std::vector<double> storeys;                // every storey's height, m, top first (the window's last)
    double Ltot = 0;                            // their sum
    double h1Sls = 0;                           // water table of the crack check
    double crackCoverOut = 0;                   // c of the soil face's crack width
    Bars barsOut, barsIn;                       // the bars of each face as used
    double rhoMin = 0;                          // max(0.20 %, 45·ft/fy)
    double xiB = 0;
    const Concrete* concrete = nullptr;  // the rows of the grade (Text10) and of fy (Text13)
    const Steel* steel = nullptr;
    double slsFactorQ = 0;  // the factor of Q in the crack-check moment: ψq or 1
    Loads loads;
    std::vector<Section> sections;  // from the top down: top, span1, slab1, span2, …, base
    std::vector<Shear> shear;       // from the top down, one per support
    std::vector<const Warning*> warnings;
    bool ok = false;  // every section's given bars and every support's shear pass
};

// How the report, the window and the batch name a section of a wall of `storeys` storeys
// ("跨中", "第1层跨中", "第1层底楼板支座", "底部支座") and write bars as drawn ("Φ16@200+Φ14@200").
std::string sectionTitle(const Section& section, std::size_t storeys);
std::string barsDrawn(const Bars& bars);

// The warnings the review can give, in the order it gives them.
std::span<const Warning> warningTable();

// The whole review. Throws FaultError (5) naming the field or option for an impossible input.
Result reviewWall(const FieldSet& fields, const Options& options);

// The review as the JSON object of the command line (numbers at full double precision): the
// tree, for a caller that puts it into a larger object, and its one-line text.
nlohmann::ordered_json reviewJsonTree(const Result& result);
std::string reviewJson(const Result& result);

// For the diagrams: the unfactored pressures and the moments of the ULS and the crack
// combination at `points` evenly spaced x from the top slab (0) to the base slab (Ltot); sagging
// positive (for the envelope, of the model with the larger magnitude). Not part of the review
// itself, so it costs nothing there.
struct DiagramPoint {
    double x = 0, z = 0;        // m from the top slab; m below the ground
    double eG = 0, eQ = 0;      // kN/m²
    double Muls = 0, Msls = 0;  // kN·m/m, sagging positive
};
std::vector<DiagramPoint> diagram(const Result& result, int points);

}  // namespace wallcalc::review
