#pragma once
#include <stdint.h>

// The DXF kind of ExportDxf.
enum { DxfExportKind = 2 };

// Writes the active plan as a drawing file of the kind; the caller sets exportDxf2D or
// exportDxf3D around the call. Beeps when the file cannot be created.
void ExportDxf(int kind, const char* path);

// While a 2D or 3D export runs, the plan redraw hands each projected segment to these;
// they write one LINE to the open file when kind is 2 (DXF).
void EmitExportLine2D(float x1, float y1, float x2, float y2, uint16_t kind, uint32_t file);
void EmitExportLine3D(float x1, float y1, float z1, float x2, float y2, float z2, uint16_t kind,
                      uint32_t file);
