#include "dialogs/common_values.h"

// The property summaries are not built yet: nothing is filled, merged or shown.
void GetWorkingElevationValue(const PlanSettings*, CommonValue*) {}
void MergeCommonValuesFromObject(PlanDocument*, CommonProperties*, PlanObject*) {}
void MergeCommonValuesFromSelectedPoints(CommonValue*, PlanObject*) {}
void ShowElevationPaneValue(const CommonValue*) {}
