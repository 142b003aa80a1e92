#pragma once
// The two faults an export can end with.

#include <string>

#include "core/fault.h"

namespace wallcalc::export_fault {

// The word processor could not be started or attached to: not installed, would not start, the
// connection failed or timed out. Nothing happened in the word processor.
inline constexpr int kCannotCreate = 429;
inline constexpr const char* kCannotCreateDescription = "部件不能创建对象";

// A call after the word processor was reached failed: refused, hung or died mid-way. What the
// word processor already did stays done.
inline constexpr int kAutomation = 440;
inline constexpr const char* kAutomationDescription = "自动化错误";

// The engineer cancelled the export while it waited for the word processor.
inline constexpr int kCancelled = 18;
inline constexpr const char* kCancelledDescription = "出现用户中断";

inline FaultError cannotCreate(std::string what) {
    return FaultError(Fault{kCannotCreate, kCannotCreateDescription, std::move(what)});
}
inline FaultError automation(std::string what) {
    return FaultError(Fault{kAutomation, kAutomationDescription, std::move(what)});
}
inline FaultError cancelled() { return FaultError(Fault{kCancelled, kCancelledDescription, "已取消计算书保存"}); }

}  // namespace wallcalc::export_fault
