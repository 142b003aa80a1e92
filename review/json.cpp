// The review as the JSON object of the command line: every number at full double precision in
// its shortest round-trip text, null for a value the section does not have, the keys in the
// order they are documented.
#include <nlohmann/json.hpp>

#include "core/json_line.h"
#include "review/edition.h"
#include "review/review.h"

namespace wallcalc::review {
namespace {

using Json = nlohmann::ordered_json;

Json number(double value) { return value; }
Json number(const std::optional<double>& value) { return value ? Json(*value) : Json(nullptr); }

Json knots(const std::vector<Knot>& list) {
    Json out = Json::array();
    for (const Knot& k : list) out.push_back(Json::array({number(k.z), number(k.e)}));
    return out;
}

Json section(const Section& s) {
    Json bars = Json::array();
    for (const Bar& bar : s.given.bars) bars.push_back({{"d", number(bar.d)}, {"s", number(bar.s)}});
    Json choice = Json::array();
    for (const Candidate& c : s.choice)
        choice.push_back({{"d", c.d}, {"s", c.s}, {"As_p", number(c.AsP)}, {"w", number(c.w)}});
    return {
        {"name", s.name},
        {"x", number(s.x)},
        {"M_uls", number(s.Muls)},
        {"M_sls", number(s.Msls)},
        {"h0", number(s.h0)},
        {"alpha_s", number(s.alphaS)},
        {"xi", number(s.xi)},
        {"As", number(s.As)},
        {"As_min", number(s.AsMin)},
        {"As_req", number(s.AsReq)},
        {"given",
         {{"bars", bars},
          {"As_p", number(s.given.AsP)},
          {"deq", number(s.given.deq)},
          {"sigma_s", number(s.given.sigmaS)},
          {"rho_te", number(s.given.rhoTe)},
          {"psi", number(s.given.psi)},
          {"w", number(s.given.w)},
          {"ok", s.given.ok}}},
        {"choice", choice},
        {"governs", s.governs ? Json(*s.governs) : Json(nullptr)},
        {"note", s.note},
    };
}

}  // namespace

nlohmann::ordered_json reviewJsonTree(const Result& result) {
    Json storeys = Json::array();
    for (double height : result.storeys) storeys.push_back(number(height));
    Json sections = Json::array();
    for (const Section& s : result.sections) sections.push_back(section(s));
    Json shear = Json::array();
    for (const Shear& s : result.shear)
        shear.push_back({{"at", s.at},
                         {"x", number(s.x)},
                         {"V", number(s.V)},
                         {"h0", number(s.h0)},
                         {"beta_h", number(s.betaH)},
                         {"Vc", number(s.Vc)},
                         {"ok", s.ok}});
    Json warnings = Json::array();
    for (const Warning* w : result.warnings) warnings.push_back(w->code);
    return {
        {"edition", result.edition ? result.edition->key : std::string_view()},
        {"support", supportText(result.support)},
        {"storeys", storeys},
        {"loads", {{"G", knots(result.loads.G)}, {"Q", knots(result.loads.Q)}, {"G_sls", knots(result.loads.Gsls)}}},
        {"sections", sections},
        {"shear", shear},
        {"warnings", warnings},
        {"ok", result.ok},
    };
}

std::string reviewJson(const Result& result) { return oneLineJson(reviewJsonTree(result)); }

}  // namespace wallcalc::review
