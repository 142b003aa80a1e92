#pragma once
// Word through COM automation with late binding (Windows only): every member is called by
// name through IDispatch, without a type library.

#include "report/export.h"

namespace wallcalc {

class WordExporter final : public ReportExporter {
public:
    void exportReport(const std::string& reportUtf8) override;
};

}  // namespace wallcalc
