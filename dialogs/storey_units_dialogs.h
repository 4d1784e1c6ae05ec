#pragma once
// The dialogs of the frame that change the document-wide settings: a storey's ceiling
// height, the storeys shown and the current one, the unit system, the lot size, the zoom
// factors of the plan and of the 3D view, and the plan and drawing scales.

struct PlanSettings;

// Each is nonzero after OK and 0 after Cancel or without settings.
int RunCeilingHeightDialog(PlanSettings* settings, int storey); // storey 1 to 3
int RunFloorsDialog(PlanSettings* settings);
// Nonzero only when the OK changed the unit system: an OK that keeps it changes nothing.
int RunUnitsDialog(PlanSettings* settings);
int RunLotSizeDialog(PlanSettings* settings);
int RunPlanZoomDialog(PlanSettings* settings);
int RunZoomFactorDialog(PlanSettings* settings);
int RunPlanScaleDialog(PlanSettings* settings);
int RunDrawingScaleDialog(PlanSettings* settings);

// The plan extents from the lot size (each side capped at 500 feet) with the reference
// point kept inside them; the stored lot values are left as they are.
void ClampTerrainSize(PlanSettings* settings);
// The drawing scale from the paper and real lengths; kept when the paper length is 0.
void ComputeDrawingScale(PlanSettings* settings);
// Scales every object of every floor by old / new about the reference point.
void RescaleAllObjects(float oldScale, float newScale);
