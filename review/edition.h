#pragma once
// The editions of the codes the review can check against, one row of data each: the codes
// cited, the ULS combinations, the moment of the crack check, αcr and the equation numbers the
// calculation report quotes. Choosing an edition picks a row; nothing in the engine branches on
// its name.

#include <array>
#include <string_view>

namespace wallcalc::review {

// One ULS combination before γ0: γG·G + γQ·Q.
struct Combination {
    double G = 0, Q = 0;
    std::string_view text;  // as the report writes it
};

// The moment of the crack check: quasi-permanent G + ψq·Q, or characteristic G + Q.
enum class CrackMoment { QuasiPermanent, Characteristic };

struct Edition {
    std::string_view key;    // "current" or "2002"
    std::string_view title;  // how a report names the edition it checks against
    // The codes cited, by their titles, in the order the report lists them ("" where fewer).
    std::array<std::string_view, 3> codes;
    std::string_view designCode;  // the concrete design code, as the material table cites it
    // The ULS combinations; at every section the one giving the larger moment governs
    // (with one combination the second repeats the first).
    std::array<Combination, 2> uls;
    int ulsCount = 1;
    std::string_view combinationClause;  // where the combination factors come from
    CrackMoment crackMoment = CrackMoment::QuasiPermanent;
    std::string_view crackSymbol;  // "Mq" or "Mk"
    double alphaCr = 1.9;          // αcr of a member in bending
    // Equation numbers of the design code: the flexural strength (moment, force balance,
    // x ≤ ξb·h0), ξb and εcu; the crack width, ψ, deq, ρte and σs of a member in bending.
    std::string_view eqMoment, eqForce, eqLimit, eqXiB, eqEpsCu;
    std::string_view eqW, eqPsi, eqDeq, eqRhoTe, eqSigma;
    std::string_view minSteelClause;  // where ρmin = max(0.20 %, 45·ft/fy) is required
    // The shear of a slab-like member without stirrups, V ≤ 0.7·βh·ft·b·h0, and βh.
    std::string_view shearClause, eqShear, eqBetaH;
    // Whether the materials are held against today's rules (C25 at least, C30 with 500 MPa
    // bars, HRB335 no longer rolled).
    bool materialWarnings = false;
};

inline constexpr std::array<Edition, 2> kEditions{{
    {
        .key = "current",
        .title = "现行规范",
        .codes = {"《工程结构通用规范》GB 55001-2021", "《混凝土结构通用规范》GB 55008-2021",
                  "《混凝土结构设计标准》GB/T 50010-2010（2024年版）"},
        .designCode = "GB/T 50010-2010",
        .uls = {{{1.3, 1.5, "1.3G + 1.5Q"}, {1.3, 1.5, "1.3G + 1.5Q"}}},
        .ulsCount = 1,
        .combinationClause = "GB 55001-2021 第3.1.13条",
        .crackMoment = CrackMoment::QuasiPermanent,
        .crackSymbol = "Mq",
        .alphaCr = 1.9,
        .eqMoment = "6.2.10-1",
        .eqForce = "6.2.10-2",
        .eqLimit = "6.2.10-3",
        .eqXiB = "6.2.7-1",
        .eqEpsCu = "6.2.1-5",
        .eqW = "7.1.2-1",
        .eqPsi = "7.1.2-2",
        .eqDeq = "7.1.2-3",
        .eqRhoTe = "7.1.2-4",
        .eqSigma = "7.1.4-3",
        .minSteelClause = "GB 55008-2021 第4.4.6条",
        .shearClause = "GB/T 50010-2010 第6.3.3条",
        .eqShear = "6.3.3-1",
        .eqBetaH = "6.3.3-2",
        .materialWarnings = true,
    },
    {
        .key = "2002",
        .title = "2002版规范",
        .codes = {"《建筑结构荷载规范》GB 50009-2001", "《混凝土结构设计规范》GB 50010-2002", ""},
        .designCode = "GB 50010-2002",
        // The permanent-load-led combination takes the surcharge at its combination value
        // ψc·1.4 = 0.7 × 1.4.
        .uls = {{{1.2, 1.4, "1.2G + 1.4Q"}, {1.35, 0.98, "1.35G + 1.4×0.7Q"}}},
        .ulsCount = 2,
        .combinationClause = "GB 50009-2001 式3.2.3-1、3.2.3-2",
        .crackMoment = CrackMoment::Characteristic,
        .crackSymbol = "Mk",
        .alphaCr = 2.1,
        .eqMoment = "7.2.1-1",
        .eqForce = "7.2.1-2",
        .eqLimit = "7.2.1-3",
        .eqXiB = "7.1.4-1",
        .eqEpsCu = "7.1.2-5",
        .eqW = "8.1.2-1",
        .eqPsi = "8.1.2-2",
        .eqDeq = "8.1.2-3",
        .eqRhoTe = "8.1.2-4",
        .eqSigma = "8.1.3-3",
        .minSteelClause = "GB 50010-2002 第9.5.1条",
        .shearClause = "GB 50010-2002 第7.5.3条",
        .eqShear = "7.5.3-1",
        .eqBetaH = "7.5.3-2",
        .materialWarnings = false,
    },
}};

// The row of an edition by its key, or nullptr.
constexpr const Edition* findEdition(std::string_view key) {
    for (const Edition& edition : kEditions)
        if (edition.key == key) return &edition;
    return nullptr;
}

}  // namespace wallcalc::review
