// Temporary: a rough review so that the window can be drawn before the engine lands.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <sstream>

#include "core/fault.h"
#include "core/field_read.h"
#include "review/materials.h"
#include "review/review.h"

namespace wallcalc::review {
struct Edition {};
namespace {
const Edition kEdition;
Materials mats;
double num(std::string_view v) { return std::stod(std::string(v)); }
double eG(const Result& r, double z) {
    if (z <= 0) return 0;
    const Options& o = r.options;
    return o.K0 * o.gamma * std::min(z, r.h1) + (o.K0 * o.gammaSub + o.gammaW) * std::max(0.0, z - r.h1);
}
double eQ(const Result& r, double z) { return z >= 0 ? r.options.K0 * r.p : 0; }
// moments (sagging +) along x for load w(x), propped or fixed, by numerical integration
struct Beam {
    std::vector<double> x, M;
};
Beam solve(const Result& r, bool perm) {
    const int n = 2000;
    double L = r.L, top = r.H - r.L;
    std::vector<double> x(n + 1), w(n + 1), M0(n + 1);
    for (int i = 0; i <= n; ++i) {
        x[i] = L * i / n;
        w[i] = perm ? eG(r, top + x[i]) : eQ(r, top + x[i]);
    }
    // simply supported: R0 = ∫w(L-x)/L
    double R0 = 0, h = L / n;
    for (int i = 0; i <= n; ++i) R0 += (i == 0 || i == n ? 0.5 : 1) * w[i] * (L - x[i]) / L * h;
    for (int i = 0; i <= n; ++i) {
        double m = R0 * x[i];
        for (int j = 0; j <= i; ++j) m -= (j == 0 || j == i ? 0.5 : 1) * w[j] * (x[i] - x[j]) * h;
        M0[i] = m;
    }
    auto integ = [&](auto f) {
        double s = 0;
        for (int i = 0; i <= n; ++i) s += (i == 0 || i == n ? 0.5 : 1) * f(i) * h;
        return s;
    };
    Beam b{x, M0};
    if (r.support == Support::Propped) {
        double Mb = 3 / (L * L) * integ([&](int i) { return M0[i] * x[i]; });
        for (int i = 0; i <= n; ++i) b.M[i] = M0[i] - Mb * x[i] / L;
    } else {
        double A = integ([&](int i) { return M0[i] * (1 - x[i] / L); });
        double B = integ([&](int i) { return M0[i] * x[i] / L; });
        // [L/3 L/6; L/6 L/3][Mt;Mb] = [A;B]
        double det = L * L / 9 - L * L / 36;
        double Mt = (A * L / 3 - B * L / 6) / det, Mb = (B * L / 3 - A * L / 6) / det;
        for (int i = 0; i <= n; ++i) b.M[i] = M0[i] - Mt * (1 - x[i] / L) - Mb * x[i] / L;
    }
    return b;
}
void design(const Result& r, Section& s, double d, double sp, bool& ok, GivenBars& g) {
    const Materials& m = mats;
    g.d = d;
    g.s = sp;
    g.h0 = r.t - s.cover - r.options.dh - d / 2;
    g.AsP = std::numbers::pi * d * d / 4 * 1000 / sp;
    g.sigmaS = s.Msls * 1e6 / (0.87 * g.h0 * g.AsP);
    g.rhoTeRaw = g.AsP / (0.5 * 1000 * r.t);
    g.rhoTe = std::max(0.01, g.rhoTeRaw);
    g.psiRaw = g.sigmaS > 0 ? 1.1 - 0.65 * m.ftk / (g.rhoTe * g.sigmaS) : 0;
    g.psi = g.sigmaS > 0 ? std::clamp(g.psiRaw, 0.2, 1.0) : 0.2;
    g.csRaw = s.cover + r.options.dh;
    g.cs = std::clamp(g.csRaw, 20.0, 65.0);
    g.deq = d / m.nu;
    double acr = r.options.edition == "2002" ? 2.1 : 1.9;
    g.w = acr * g.psi * g.sigmaS / m.Es * (1.9 * g.cs + 0.08 * g.deq / g.rhoTe);
    ok = g.w <= s.wlim;
}
}  // namespace

void setOption(Options& o, std::string_view key, std::string_view value) {
    try {
        if (key == "edition") {
            if (value != "current" && value != "2002") throw 1;
            o.edition = value;
        } else if (key == "support") {
            if (value == "propped")
                o.support = Support::Propped;
            else if (value == "fixed")
                o.support = Support::Fixed;
            else
                throw 1;
        } else {
            double v = num(value);
            if (v < 0) throw 1;
            if (key == "gamma0")
                o.gamma0 = v;
            else if (key == "K0")
                o.K0 = v;
            else if (key == "gamma")
                o.gamma = v;
            else if (key == "gamma_sub")
                o.gammaSub = v;
            else if (key == "gamma_w")
                o.gammaW = v;
            else if (key == "psi_q")
                o.psiQ = v;
            else if (key == "cover_out")
                o.coverOut = v;
            else if (key == "cover_in")
                o.coverIn = v;
            else if (key == "dh")
                o.dh = v;
            else if (key == "wlim_out")
                o.wlimOut = v;
            else if (key == "wlim_in")
                o.wlimIn = v;
            else
                throw 1;
        }
    } catch (...) {
        throw FaultError(5, "复核：选项 " + std::string(key) + " 的值 “" + std::string(value) + "” 无效");
    }
}

const std::vector<std::string_view>& optionKeys() {
    static const std::vector<std::string_view> keys{"edition",   "support",  "gamma0", "K0",        "gamma",
                                                    "gamma_sub", "gamma_w",  "psi_q",  "cover_out", "cover_in",
                                                    "dh",        "wlim_out", "wlim_in"};
    return keys;
}
std::string optionText(const Options& o, std::string_view k) {
    auto t = [](double v) {
        std::ostringstream s;
        s << v;
        return s.str();
    };
    if (k == "edition") return o.edition;
    if (k == "support") return o.support == Support::Fixed ? "fixed" : "propped";
    if (k == "gamma0") return t(o.gamma0);
    if (k == "K0") return t(o.K0);
    if (k == "gamma") return t(o.gamma);
    if (k == "gamma_sub") return t(o.gammaSub);
    if (k == "gamma_w") return t(o.gammaW);
    if (k == "psi_q") return t(o.psiQ);
    if (k == "cover_out") return t(o.coverOut);
    if (k == "cover_in") return t(o.coverIn);
    if (k == "dh") return t(o.dh);
    if (k == "wlim_out") return t(o.wlimOut);
    return t(o.wlimIn);
}

Result reviewWall(const FieldSet& f, const Options& o) {
    Result r;
    r.edition = &kEdition;
    r.options = o;
    r.support = o.support;
    int grade = static_cast<int>(readPrefix(f, Field::Text10));
    if (grade != 30 && grade != 35 && grade != 25 && grade != 40)
        throw FaultError(5, "复核：混凝土强度等级 Text10 不在表中");
    mats = Materials{grade, 14.3, 1.43, 2.01, 1.0, 0.8, 0.0033, "HRB400", 360, 2e5, 1.0};
    mats.fy = readPrefix(f, Field::Text13);
    if (mats.fy == 300) mats.steel = "HRB335";
    r.materials = &mats;
    r.H = readPrefix(f, Field::Text3);
    r.L = readPrefix(f, Field::Text9) / 1000;
    if (r.L <= 0) throw FaultError(5, "复核：地下室高度 Text9 必须大于0");
    r.t = readPrefix(f, Field::Text4);
    r.p = readPrefix(f, Field::Text1);
    r.h1 = readPrefix(f, Field::Text2);
    double d = readPrefix(f, Field::Text17), s = readPrefix(f, Field::Text25);
    if (r.t - o.coverOut - o.dh - d / 2 <= 0) throw FaultError(5, "复核：墙厚 Text4 扣除保护层后没有有效高度");
    r.rhoMin = std::max(0.002, 0.45 * mats.ft / mats.fy);
    r.xiB = 0.8 / (1 + mats.fy / (2e5 * 0.0033));
    double top = r.H - r.L;
    r.loads.G = {{top, eG(r, top)}};
    if (0 > top && 0 < r.H) r.loads.G.push_back({0, 0});
    if (r.h1 > std::max(top, 0.0) && r.h1 < r.H) r.loads.G.push_back({r.h1, eG(r, r.h1)});
    r.loads.G.push_back({r.H, eG(r, r.H)});
    r.loads.Q = {{top, eQ(r, top)}};
    if (0 > top && 0 < r.H) r.loads.Q.insert(r.loads.Q.end(), {{0, 0}, {0, o.K0 * r.p}});
    r.loads.Q.push_back({r.H, eQ(r, r.H)});
    Beam G = solve(r, true), Q = solve(r, false);
    const int n = static_cast<int>(G.x.size()) - 1;
    auto add = [&](std::string_view name, int i, double sign, double cover, double wlim) {
        Section sec;
        sec.name = name;
        sec.x = G.x[i];
        sec.MG = sign * G.M[i];
        sec.MQ = sign * Q.M[i];
        sec.Muls = o.gamma0 * (1.3 * sec.MG + 1.5 * sec.MQ);
        sec.Msls = sec.MG + o.psiQ * sec.MQ;
        sec.cover = cover;
        sec.wlim = wlim;
        sec.h0 = r.t - cover - o.dh - d / 2;
        sec.alphaS = sec.Muls * 1e6 / (mats.alpha1 * mats.fc * 1000 * sec.h0 * sec.h0);
        sec.AsMin = r.rhoMin * 1000 * r.t;
        if (2 * sec.alphaS < 1) {
            sec.xi = 1 - std::sqrt(1 - 2 * sec.alphaS);
            if (*sec.xi <= r.xiB) {
                sec.As = mats.alpha1 * mats.fc * 1000 * *sec.xi * sec.h0 / mats.fy;
                sec.AsReq = std::max(*sec.As, sec.AsMin);
            }
        }
        if (!sec.As) sec.note = "截面不足";
        bool ok = false;
        design(r, sec, d, s, ok, sec.given);
        sec.given.ok = ok && sec.AsReq && sec.given.AsP >= *sec.AsReq;
        for (int dd : {10, 12, 14, 16, 18, 20, 22, 25})
            for (int ss : {200, 150, 100}) {
                if (sec.choice.size() == 3) break;
                GivenBars g;
                bool wok = false;
                design(r, sec, dd, ss, wok, g);
                if (wok && sec.AsReq && g.AsP >= *sec.AsReq) sec.choice.push_back({dd, ss, g.AsP, g.w});
            }
        if (!sec.choice.empty()) sec.governs = "裂缝";
        r.sections.push_back(sec);
    };
    add("base", n, -1, o.coverOut, o.wlimOut);
    int best = n / 2;
    for (int i = 0; i <= n; ++i)
        if (1.3 * G.M[i] + 1.5 * Q.M[i] > 1.3 * G.M[best] + 1.5 * Q.M[best]) best = i;
    add("span", best, 1, o.coverIn, o.wlimIn);
    if (o.support == Support::Fixed) add("top", 0, -1, o.coverOut, o.wlimOut);
    return r;
}

std::string reviewJson(const Result&) { return "{}"; }

std::vector<DiagramPoint> diagram(const Result& r, int points) {
    Beam G = solve(r, true), Q = solve(r, false);
    std::vector<DiagramPoint> out;
    const int n = static_cast<int>(G.x.size()) - 1;
    for (int k = 0; k < points; ++k) {
        int i = k * n / (points - 1);
        DiagramPoint p;
        p.x = G.x[i];
        p.z = r.H - r.L + p.x;
        p.eG = eG(r, p.z);
        p.eQ = eQ(r, p.z);
        p.Muls = r.options.gamma0 * (1.3 * G.M[i] + 1.5 * Q.M[i]);
        p.Msls = G.M[i] + r.options.psiQ * Q.M[i];
        out.push_back(p);
    }
    return out;
}

}  // namespace wallcalc::review
