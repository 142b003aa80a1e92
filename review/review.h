#pragma once
// 复核: the wall of the window checked by the codes in force (or by the 2002 edition), with the
// exact beam, minimum steel, the crack width on each face and an automatic bar choice. A second,
// independent calculation: it reads the fields and writes none.
//
// Units: kN, m, kN/m² for loads; kN·m per metre for moments; mm, mm² per metre, N/mm² for the
// section.

#include <optional>
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
    std::vector<Knot> G;  // earth and water (permanent)
    std::vector<Knot> Q;  // surcharge (variable)
};

struct GivenBars {
    double d = 0, s = 0;                         // as read from Text17 and Text25
    double h0 = 0;                               // with the given d
    double AsP = 0;                              // π·d²/4·1000/s
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

struct Section {
    std::string_view name;  // "base", "span" or "top"
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
    double cover = 0;             // of the face in tension
    double wlim = 0;
    double h0 = 0;  // with the given d
    double alphaS = 0;
    std::optional<double> xi, As;
    double AsMin = 0;
    std::optional<double> AsReq;
    GivenBars given;
    std::vector<Candidate> choice;       // the first three that pass, fewer when fewer pass
    std::optional<std::string> governs;  // 强度, 最小配筋率 or 裂缝; none when nothing passes
    std::string note;                    // "截面不足" or ""
};

struct Result {
    const Edition* edition = nullptr;
    Support support = Support::Propped;
    Options options;
    const Materials* materials = nullptr;
    double H = 0, L = 0, h1 = 0, p = 0, t = 0;  // the wall as read from the fields
    double rhoMin = 0;                          // max(0.20 %, 45·ft/fy)
    double xiB = 0;
    const Concrete* concrete = nullptr;  // the rows of the grade (Text10) and of fy (Text13)
    const Steel* steel = nullptr;
    double slsFactorQ = 0;  // the factor of Q in the crack-check moment: ψq or 1
    // The unfactored actions of the beam under G alone and under Q alone: the whole load, the
    // reactions at the top and the base slab, the hogging moments there (kN/m, kN·m/m).
    struct BeamActions {
        double W = 0, RA = 0, RB = 0, Mt = 0, Mb = 0;
    };
    BeamActions beamG, beamQ;
    Loads loads;
    std::vector<Section> sections;  // base, span, then top for a fixed top slab
};

// The whole review. Throws FaultError (5) naming the field or option for an impossible input.
Result reviewWall(const FieldSet& fields, const Options& options);

// The review as the JSON object of the command line (numbers at full double precision).
std::string reviewJson(const Result& result);

// For the diagrams: the unfactored pressures and the moments of the ULS and the crack
// combination at `points` evenly spaced x from the top slab (0) to the base slab (L); sagging
// positive. Not part of the review itself, so it costs nothing there.
struct DiagramPoint {
    double x = 0, z = 0;        // m from the top slab; m below the ground
    double eG = 0, eQ = 0;      // kN/m²
    double Muls = 0, Msls = 0;  // kN·m/m, sagging positive
};
std::vector<DiagramPoint> diagram(const Result& result, int points);

}  // namespace wallcalc::review
