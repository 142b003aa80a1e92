// The review as the JSON object of the command line: every number at full double precision in
// its shortest round-trip text, null for a value the section does not have.
#include <charconv>
#include <cmath>

#include "review/edition.h"
#include "review/review.h"

namespace wallcalc::review {
namespace {

class Writer {
public:
    std::string out;

    void number(double value) {
        if (!std::isfinite(value)) {
            out += "null";
            return;
        }
        if (value == 0) value = 0;  // no "-0"
        char buffer[32];
        auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
        out.append(buffer, end);
    }
    void number(const std::optional<double>& value) {
        if (value)
            number(*value);
        else
            out += "null";
    }
    void integer(int value) { out += std::to_string(value); }
    // The texts written are the program's own: no character in them needs an escape.
    void text(std::string_view value) {
        out += '"';
        out += value;
        out += '"';
    }
    void key(std::string_view name) {
        text(name);
        out += ": ";
    }
    void comma() { out += ", "; }

    void knots(const std::vector<Knot>& list) {
        out += '[';
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (i) comma();
            out += '[';
            number(list[i].z);
            comma();
            number(list[i].e);
            out += ']';
        }
        out += ']';
    }

    void section(const Section& s) {
        out += '{';
        key("x"), number(s.x), comma();
        key("M_uls"), number(s.Muls), comma();
        key("M_sls"), number(s.Msls), comma();
        key("h0"), number(s.h0), comma();
        key("alpha_s"), number(s.alphaS), comma();
        key("xi"), number(s.xi), comma();
        key("As"), number(s.As), comma();
        key("As_min"), number(s.AsMin), comma();
        key("As_req"), number(s.AsReq), comma();
        key("given");
        out += '{';
        key("d"), number(s.given.d), comma();
        key("s"), number(s.given.s), comma();
        key("As_p"), number(s.given.AsP), comma();
        key("sigma_s"), number(s.given.sigmaS), comma();
        key("rho_te"), number(s.given.rhoTe), comma();
        key("psi"), number(s.given.psi), comma();
        key("w"), number(s.given.w), comma();
        key("ok"), out += s.given.ok ? "true" : "false";
        out += '}';
        comma();
        key("choice");
        out += '[';
        for (std::size_t i = 0; i < s.choice.size(); ++i) {
            const Candidate& c = s.choice[i];
            if (i) comma();
            out += '{';
            key("d"), integer(c.d), comma();
            key("s"), integer(c.s), comma();
            key("As_p"), number(c.AsP), comma();
            key("w"), number(c.w);
            out += '}';
        }
        out += ']';
        comma();
        key("governs");
        if (s.governs)
            text(*s.governs);
        else
            out += "null";
        comma();
        key("note"), text(s.note);
        out += '}';
    }
};

}  // namespace

std::string reviewJson(const Result& result) {
    Writer w;
    w.out.reserve(3072);
    w.out += '{';
    w.key("edition"), w.text(result.edition ? result.edition->key : std::string_view()), w.comma();
    w.key("support"), w.text(result.support == Support::Fixed ? "fixed" : "propped"), w.comma();
    w.key("loads");
    w.out += '{';
    w.key("G"), w.knots(result.loads.G), w.comma();
    w.key("Q"), w.knots(result.loads.Q);
    w.out += '}';
    w.comma();
    w.key("sections");
    w.out += '{';
    for (std::size_t i = 0; i < result.sections.size(); ++i) {
        if (i) w.comma();
        w.key(result.sections[i].name);
        w.section(result.sections[i]);
    }
    w.out += "}}";
    return w.out;
}

}  // namespace wallcalc::review
