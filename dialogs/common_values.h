#pragma once

struct PlanDocument;
struct PlanObject;
struct PlanSettings;
struct CommonProperties;
struct CommonValue;

// first = 1, same = 1, value = the settings' working elevation.
void GetWorkingElevationValue(const PlanSettings* settings, CommonValue* value);
// Merge one object into the summaries of the selection.
void MergeCommonValuesFromObject(PlanDocument* document, CommonProperties* properties, PlanObject* object);
void MergeCommonValuesFromSelectedPoints(CommonValue* value, PlanObject* object);
// Shows a common value on the elevation pane when a document is active.
void ShowElevationPaneValue(const CommonValue* value);
