#pragma once
// Deliberately wrong: the readings reaching up into the core.
#include "core/fault.h"
