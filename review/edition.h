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
    std::string_view codes;  // the codes cited, in the order the report lists them
    std::string_view loadCode, designCode, minSteelCode;
    // The ULS combinations; at every section the one giving the larger moment governs
    // (with one combination the second repeats the first).
    std::array<Combination, 2> uls;
    int ulsCount = 1;
    CrackMoment crackMoment = CrackMoment::QuasiPermanent;
    std::string_view crackMomentName;  // "准永久组合 Mq" or "标准组合 Mk"
    double alphaCr = 1.9;              // αcr of a member in bending
    // Equation numbers: crack width, ψ, deq, ρte, σs of a member in bending; the flexural
    // strength (moment, force balance) and ξb.
    std::string_view eqW, eqPsi, eqDeq, eqRhoTe, eqSigma;
    std::string_view eqMoment, eqForce, eqXiB;
    std::string_view minSteelClause;  // where ρmin = max(0.20 %, 45·ft/fy) is required
};

inline constexpr std::array<Edition, 2> kEditions{{
    {
        "current",
        "GB 55001-2021、GB 55008-2021、GB/T 50010-2010（2024年版）",
        "GB 55001-2021",
        "GB/T 50010-2010（2024年版）",
        "GB 55008-2021",
        {{{1.3, 1.5, "1.3G + 1.5Q"}, {1.3, 1.5, "1.3G + 1.5Q"}}},
        1,
        CrackMoment::QuasiPermanent,
        "准永久组合 Mq = G + ψq·Q",
        1.9,
        "7.1.2-1",
        "7.1.2-2",
        "7.1.2-3",
        "7.1.2-4",
        "7.1.4-3",
        "6.2.10-1",
        "6.2.10-2",
        "6.2.7-1",
        "GB 55008-2021 第4.4.6条",
    },
    {
        "2002",
        "GB 50009-2001、GB 50010-2002",
        "GB 50009-2001",
        "GB 50010-2002",
        "GB 50010-2002",
        // The permanent-load-led combination takes the surcharge at its combination value
        // ψc·1.4 = 0.7 × 1.4.
        {{{1.2, 1.4, "1.2G + 1.4Q"}, {1.35, 0.98, "1.35G + 1.4×0.7Q"}}},
        2,
        CrackMoment::Characteristic,
        "标准组合 Mk = G + Q",
        2.1,
        "8.1.2-1",
        "8.1.2-2",
        "8.1.2-3",
        "8.1.2-4",
        "8.1.3-3",
        "7.2.1-1",
        "7.2.1-2",
        "7.1.4-1",
        "GB 50010-2002 第9.5.1条",
    },
}};

// The row of an edition by its key, or nullptr.
constexpr const Edition* findEdition(std::string_view key) {
    for (const Edition& edition : kEditions)
        if (edition.key == key) return &edition;
    return nullptr;
}

}  // namespace wallcalc::review
