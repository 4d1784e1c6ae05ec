#include "shell/document_commands.h"
#include "shell/app_globals.h"
#include "shell/frame_window.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model/record_memory.h"
#include "files/plan_file.h"
#include "palette/category_tabs.h"
#include "planview/selection.h"
#include "render3d/scene_upkeep.h"
#include <cstdio>
#include <cstring>

char fileNameBuffer[FileNameBufferSize];
char fileTitleBuffer[FileNameBufferSize];
unsigned long untitledCounter = 1;
short cascadeIndex = 0;

// The document keeps a heap copy of its path (length + 10 bytes, zeroed); the old one
// is freed first. Without memory the document keeps no path and the user hears a beep.
static void SetDocumentPath(PlanDocument* document, const char* path)
{
    ReleaseRecord(document->filePath);
    document->filePath = nullptr;
    if (!path)
        return;
    size_t length = std::strlen(path);
    char* copy = static_cast<char*>(AllocateRecord(length + 10));
    if (!copy) {
        MessageBeep(0);
        return;
    }
    std::memcpy(copy, path, length);
    document->filePath = copy;
}

HWND NewDocumentCommand(HWND)
{
    if (!mdiClientWindow)
        return nullptr;
    FreeScenePolygons();

    RECT client;
    GetClientRect(mdiClientWindow, &client);
    int offset = cascadeIndex * 4;
    MDICREATESTRUCTA create;
    std::memset(&create, 0, sizeof create);
    create.szClass = "DocumentClass";
    create.szTitle = "Senza nome";
    create.hOwner = hInstance;
    create.x = offset + 1;
    create.y = offset + 1;
    create.cx = (client.right - client.left) - 2 - offset;
    create.cy = (client.bottom - client.top) - 2 - offset;
    create.style = WS_VISIBLE | WS_MAXIMIZE | WS_OVERLAPPEDWINDOW | 1;
    create.lParam = 0;
    HWND document = reinterpret_cast<HWND>(SendMessageA(mdiClientWindow, WM_MDICREATE, 0,
                                                        reinterpret_cast<LPARAM>(&create)));
    if (!document)
        return nullptr;

    cascadeIndex = static_cast<short>(cascadeIndex + 1);
    if (cascadeIndex >= 5)
        cascadeIndex = 0;

    if (activeDocument)
        SetDocumentPath(activeDocument, nullptr);
    char caption[64];
    std::snprintf(caption, sizeof caption, "Senza nome%ld", static_cast<long>(untitledCounter));
    SetWindowTextA(document, caption);
    ++untitledCounter;

    LoadPlanColours();
    ApplyTabLayerToPlan();
    return document;
}

void CloseAllDocumentsCommand()
{
    if (mdiClientWindow)
        EnumChildWindows(mdiClientWindow, CloseChildEnumProc, 0);
}

void StartModeLoadCommand(HWND frame)
{
    SendMessageA(frame, WM_COMMAND, 2, 0);
    if (!activeDocument || !activePlanPane)
        return;
    SetWindowTextA(GetParent(activePlanPane), "");
    SetDocumentPath(activeDocument, commandLineBuffer);
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    bool loaded = LoadPlanFile(commandLineBuffer);
    SetCursor(previous ? previous : LoadCursorA(nullptr, IDC_ARROW));
    if (loaded) {
        if (activeDocument && activeDocument->settings)
            SetSelectionAllFloors(activeDocument->firstFloor, 2, 0);
        return;
    }
    // The reader has already said why; the document stays open and empty.
    fileNameBuffer[0] = 0;
    fileTitleBuffer[0] = 0;
    MessageBeep(0);
}
