#include "win32/layout.h"

#include "win32/ids.h"

namespace wallcalc::win32 {

std::vector<ControlSpec> form1Controls() {
    std::vector<ControlSpec> specs;
    specs.push_back({ControlSpec::Kind::Picture, kPictureId, 0, "", 3240, 500, 6660, 4935, {}, {}, {}, 8});
    int i = 0;
    for (Field field : allFields()) {
        ControlSpec spec{};
        spec.kind = field == Field::Combo1   ? ControlSpec::Kind::Combo
                    : field == Field::Text29 ? ControlSpec::Kind::Report
                                             : ControlSpec::Kind::Edit;
        spec.id = fieldId(field);
        spec.left = 1000 + (i % 3) * 1000;
        spec.top = 200 + (i / 3) * 400;
        spec.width = 900;
        spec.height = spec.kind == ControlSpec::Kind::Report ? 3000 : 300;
        spec.tabIndex = 10 + i;
        spec.hidden = field == Field::Text28;
        specs.push_back(spec);
        ++i;
    }
    const char* captions[] = {"强度计算", "裂缝计算", "计算书保存", "生成计算书", "现行规范复核"};
    for (int n = 1; n <= 5; ++n)
        specs.push_back({ControlSpec::Kind::Button,
                         commandId(n),
                         0,
                         captions[n - 1],
                         1000 + (n - 1) * 1500,
                         6000,
                         1400,
                         500,
                         {},
                         {},
                         {},
                         100 + n});
    return specs;
}

}  // namespace wallcalc::win32
