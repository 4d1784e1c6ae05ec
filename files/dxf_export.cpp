#include "files/dxf_export.h"
#include "files/plan_file.h"
#include "files/record_stream.h"
#include "files/kept_paths.h"
#include "files/safe_save.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "planview/output_routing.h"
#include "planview/plan_redraw.h"
#include <cstdio>
#include <cstring>

namespace {

const void* LockTemplateResource(const char* type, const char* name, DWORD* size)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, name, type);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    *size = found ? SizeofResource(module, found) : 0;
    return loaded ? LockResource(loaded) : nullptr;
}

// Copies a template of the program's resources to the file; nothing when it is absent.
void WriteTemplate(const char* type)
{
    DWORD size = 0;
    if (const void* bytes = LockTemplateResource(type, MAKEINTRESOURCEA(1), &size))
        WriteBytes(bytes, size);
}

void WriteLine(const char* text)
{
    WriteBytes(text, static_cast<uint32_t>(std::strlen(text)));
    WriteBytes("\r\n", 2);
}

void WriteNumber(float value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%0.4f", static_cast<double>(value));
    WriteLine(text);
}

void WriteDxfLine(float x1, float y1, const float* z1, float x2, float y2, const float* z2)
{
    for (const char* item : {"0", "LINE", "8", "1", "6", "CONTINUOUS", "62", "7", "10"})
        WriteLine(item);
    WriteNumber(x1);
    WriteLine("20");
    WriteNumber(-y1);
    WriteLine("30");
    if (z1)
        WriteNumber(*z1);
    else
        WriteLine("0.0000");
    WriteLine("11");
    WriteNumber(x2);
    WriteLine("21");
    WriteNumber(-y2);
    WriteLine("31");
    if (z2)
        WriteNumber(*z2);
    else
        WriteLine("0.0000");
}

} // namespace

void ExportDxf(int kind, const char* path)
{
    PlanDocument* document = activeDocument;
    if (!document || !path)
        return;
    // A drawing is the same size whatever the zoom of the view it is exported from.
    PlanSettings* settings = document->settings;
    const float zoom = settings ? settings->zoom : 1.0f;
    if (settings)
        settings->zoom = 1.0f;
    std::string stoppedBy;
    TakeMisdirectedPath();
    bool written = SaveFileSafely(path, [&] {
        if (!document->firstFloor)
            return;
        if (kind == DxfExportKind)
            WriteTemplate("HDRS");
        if (HDC dc = activePlanPane ? GetDC(activePlanPane) : nullptr) {
            exportKind = static_cast<uint16_t>(kind);
            exportFileHandle = static_cast<uint32_t>(planFileHandle);
            RECT update = {0, 0, 100, 100};
            RedrawPlan(dc, document->firstFloor, &update, DrawAllObjects, nullptr);
            exportKind = 0;
            exportFileHandle = 0;
            ReleaseDC(activePlanPane, dc);
        }
        if (kind == DxfExportKind)
            WriteTemplate("TLRS");
    }, nullptr, &stoppedBy);
    if (settings)
        settings->zoom = zoom;
    if (!written)
        ShowSaveFailure(stoppedBy);
}

void EmitExportLine2D(float x1, float y1, float x2, float y2, uint16_t kind, uint32_t)
{
    if (kind == DxfExportKind)
        WriteDxfLine(x1, y1, nullptr, x2, y2, nullptr);
}

void EmitExportLine3D(float x1, float y1, float z1, float x2, float y2, float z2, uint16_t kind, uint32_t)
{
    if (kind == DxfExportKind)
        WriteDxfLine(x1, y1, &z1, x2, y2, &z2);
}
