#pragma once
#include <stdint.h>

// Bounds the generators put on values that drive their loops. Such values come from
// plan files as well as from dialogs, so none of them may spin a loop for ever or ask
// for an unbounded number of parts.

struct PlanSettings;

// Curve steps used when the settings hold 0 or a negative count (the plan default).
constexpr int32_t kDefaultCurveSteps = 8;
// More pieces per curve than this draw no better and only cost time.
constexpr int32_t kMaxCurveSteps = 200;
// The most balusters, stations or steps one generator call lays; far beyond any real
// plan, it keeps a damaged length or spacing from asking for millions of parts.
constexpr int32_t kMaxGeneratedPieces = 10000;

// The settings' curve step count (a signed 16-bit value) made usable: 0 or below gives
// the default, a huge count is capped.
int32_t SafeCurveSteps(const PlanSettings* settings);
