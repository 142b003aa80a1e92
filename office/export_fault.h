#pragma once
// The two faults an export can end with.

#include <string>

#include "core/fault.h"

namespace wallcalc::export_fault {

// The word processor could not be started or attached to: not installed, would not start, the
// connection failed or timed out. Nothing happened in the word processor.
inline constexpr int kCannotCreate = fault_number::kCannotCreate;

// A call after the word processor was reached failed: refused, hung or died mid-way. What the
// word processor already did stays done.
inline constexpr int kAutomation = fault_number::kAutomation;

// The engineer cancelled the export while it waited for the word processor.
inline constexpr int kCancelled = fault_number::kCancelled;

inline FaultError cannotCreate(std::string what) { return FaultError(kCannotCreate, std::move(what)); }
inline FaultError automation(std::string what) { return FaultError(kAutomation, std::move(what)); }
inline FaultError cancelled() { return FaultError(kCancelled, "已取消计算书保存"); }

}  // namespace wallcalc::export_fault
