#include "model3d/generator_limits.h"
#include "model/plan_settings.h"

int32_t SafeCurveSteps(const PlanSettings* settings)
{
    if (!settings)
        return kDefaultCurveSteps;
    int32_t steps = (int16_t)settings->curveSteps;
    if (steps <= 0)
        return kDefaultCurveSteps;
    if (steps > kMaxCurveSteps)
        return kMaxCurveSteps;
    return steps;
}
