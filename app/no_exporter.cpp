// Built where no word-processor backend is available.
#include "calc/fault.h"
#include "report/export.h"

namespace wallcalc {
namespace {
class NoExporter final : public ReportExporter {
public:
    void exportReport(const std::string&) override {
        throw FaultError(Fault{429, "部件不能创建对象", "本程序构建时没有文字处理软件的接口，无法打开文字处理软件"});
    }
};
}  // namespace

std::unique_ptr<ReportExporter> makePlatformExporter() { return std::make_unique<NoExporter>(); }
}  // namespace wallcalc
