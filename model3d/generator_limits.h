#pragma once
#include <stdint.h>

// Bounds the generators put on values that drive their loops. Such values come from
// plan files as well as from dialogs, so none of them may spin a loop for ever or ask
// for an unbounded number of parts.

// Curve steps come from UsableCurveSteps (model/plan_settings.h).

// The most balusters, stations or steps one generator call lays; far beyond any real
// plan, it keeps a damaged length or spacing from asking for millions of parts.
constexpr int32_t kMaxGeneratedPieces = 10000;
