#pragma once
// The common-value records: summaries that say whether a property has one value over a
// set of objects (`CommonValue`, `CommonProperties`, laid out in the settings record),
// and the feed of the working elevation, or the common elevation of the selection, to
// the elevation pane. The initial fill of `CommonProperties` from the settings is
// FillCommonValuesFromSettings, with the settings record.
#include "model/plan_settings.h"

struct PlanDocument;
struct PlanObject;

// first = 1, same = 1, value = the settings' working elevation (inches).
void GetWorkingElevationValue(const PlanSettings* settings, CommonValue* value);
// Merges the drawing properties of one object into the summary; a wall is merged
// through its mesh. The object-operation dispatcher calls it for each selected object.
void MergeCommonValuesFromObject(PlanDocument* document, CommonProperties* properties, PlanObject* object);
// Merges the elevation of one selected object, or of its selected wall segments and
// openings; an object on the terrain makes the summary mixed.
void MergeCommonValuesFromSelectedPoints(CommonValue* value, PlanObject* object);
// Hands the record to the elevation pane when a document is active.
void ShowElevationPaneValue(const CommonValue* value);
// The whole feed built on these is RefreshWorkingElevationValue (model/plan_document.h).
