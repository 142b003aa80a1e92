// The review on arbitrary field texts and options: it either gives a result whose numbers are
// all finite or refuses with fault 5, and it never writes a field.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/fault.h"
#include "review/review.h"

using namespace wallcalc;

namespace {

void requireFinite(double value) {
    if (!std::isfinite(value)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // NUL-separated texts: first the options as KEY=VALUE until an empty text, then the fields
    // in order.
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    auto next = [&rest] {
        const std::size_t end = rest.find('\0');
        std::string_view text = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        return text;
    };
    review::Options options;
    FieldSet fields;
    try {
        while (!rest.empty()) {
            std::string_view option = next();
            if (option.empty()) break;
            const std::size_t equals = option.find('=');
            if (equals == std::string_view::npos) continue;
            review::setOption(options, option.substr(0, equals), option.substr(equals + 1));
        }
        for (Field field : allFields()) {
            if (rest.empty()) break;
            fields.setText(field, std::string(next()));
        }
        const FieldSet before = fields;
        const review::Result result = review::reviewWall(fields, options);
        if (!(fields == before)) std::abort();
        for (const review::Section& section : result.sections) {
            requireFinite(section.Muls);
            requireFinite(section.Msls);
            requireFinite(section.h0);
            requireFinite(section.given.w);
            if (section.AsReq) requireFinite(*section.AsReq);
            if (section.choice.size() > 3) std::abort();
        }
        for (const review::Shear& shear : result.shear) {
            requireFinite(shear.V);
            requireFinite(shear.Vc);
        }
        review::reviewJson(result);
    } catch (const FaultError& error) {
        if (error.fault().number != fault_number::kInvalidCall || error.fault().what.empty()) std::abort();
    }
    return 0;
}
