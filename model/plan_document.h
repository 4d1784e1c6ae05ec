#pragma once
#include <windows.h>
#include <stdint.h>

// The open plan and its MDI child window (DocumentClass). The plan pane (child 1,
// MainClass) holds the document in its window long 0 and frees it when destroyed.

struct PlanFloor;
struct PlanSettings;

struct PlanDocument {
    PlanFloor* firstFloor;          // head of the storeys and view sheets
    PlanFloor* currentFloor;        // the storey being edited
    PlanFloor* currentViewSheet;    // annotation sheet of the current camera preset
    HWND toolBar;                   // the frame's tool bar
    HWND textEditChild;             // in-place text editor while a text is edited
    PlanSettings* settings;         // null: the document is not initialised
    HWND measurementStrip;          // MiscClass strip, child 6
    HWND horizontalScrollBar;       // child 3
    HWND verticalScrollBar;         // child 4
    HWND sizeBox;                   // child 5
    char* filePath;                 // heap copy of the plan's path, or null
    int16_t lastEditKind;           // drag stage / last undoable edit; -1 (65535) when idle
    uint8_t lastEditUndone;
    uint8_t measuringLineShown;
    float measuringLineEnds[4];     // start x, start y, end x, end y
    wchar_t* fileLongPath;          // heap copy of the long (wide) path filePath meant when
                                    // it was taken, or null with it (files/kept_paths.h)
};

// The plan being worked on and its plan pane; they always change together.
extern PlanDocument* activeDocument;
extern HWND activePlanPane;

// Child window ids of a document window.
enum DocumentChildId {
    DocumentPaneId = 1,
    DocumentHScrollId = 3,
    DocumentVScrollId = 4,
    DocumentSizeBoxId = 5,
    DocumentStripId = 6,
};

LRESULT CALLBACK DocumentWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The elevation feed, at every place that changes the working elevation, the units, the
// floors or the selection: the working elevation into the settings' summary, the
// selection of every floor merged into it, the result shown on the elevation pane.
// Nothing without settings. Built with the common values (dialogs/common_values).
void RefreshWorkingElevationValue(PlanDocument* document);

// Plan colours of the active plan in the preferences file "\Z!PREFS.INI". The save
// rewrites the file whole and safely, keeping its other keys (files/profile_file); when
// it cannot, a message says so, once in a run.
void LoadPlanColours();
void SavePlanColours();

// A new document record with its three storeys and the default settings (what the
// document window makes on creation); becomes activeDocument. Null when it cannot
// be allocated.
PlanDocument* CreatePlanDocument();
// Frees a document with its floors, objects, settings and path; clears
// activeDocument (and activePlanPane) when it was the active one. Null is ignored.
void FreePlanDocument(PlanDocument* document);
// The document of a document window (through its plan pane), or null.
PlanDocument* GetWindowDocument(HWND documentWindow);
