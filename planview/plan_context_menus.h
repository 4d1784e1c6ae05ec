#pragma once
// The plan's right-click menus and double-click dialogs. A right click with the select
// tool opens a pop-up menu at the pointer for the object the press picked (already
// selected): the frame's edit commands, the type's property dialogs, area reports,
// switches kept on the clicked wall or deck segment, a sub-menu that moves the object to
// another category layer, and for library objects the hand-over to the furniture editor
// Tovrel. A right click on empty plan opens the plan's own menu; a double click opens
// the object's property dialog. All of it runs inside the press handling.
#include <windows.h>
#include <stdint.h>

struct PlanObject;
struct PlanMouseState;

// Menu-local ids, interpreted by the type's table (2 serves the storey area's menu).
enum PlanMenuLocalId {
    kMenuStoreyArea = 2,
    kMenuProperties = 10000,
    kMenuLocal1 = 10001,
    kMenuLocal2 = 10002,
    kMenuLocal3 = 10003,
    kMenuLocal4 = 10004,
    kMenuLocal5 = 10005,
    kMenuLocal6 = 10006,
    kMenuToInterior = 10007,
    kMenuToExterior = 10008,
};

// The menus as they are shown (the caller destroys them). The object menu is null for a
// deck press that hit no edge, and for a type without a menu of its own when there is
// no frame window; ownTable says whether the type's table interprets the choice (else
// the choice goes straight to the frame).
HMENU BuildEmptyPlanMenu();
HMENU BuildObjectMenu(PlanObject* object, const PlanMouseState* hit, bool* ownTable);

// Shows the menu at the pointer and carries out the choice.
void ShowEmptyPlanMenu(HWND pane);
void ShowObjectContextMenu(HWND pane, PlanObject* object, const PlanMouseState* hit);
// What a chosen id of the object's menu does; an id the type's table does not name goes
// to the frame.
void RunObjectMenuCommand(PlanObject* object, const PlanMouseState* hit, int id);
// The double click: the property dialog of the object's type.
void OpenObjectDialog(HWND pane, PlanObject* object, const PlanMouseState* hit);
// Writes the object to the furniture editor's exchange file and starts the editor on
// it; the frame re-imports the file when the editor announces that it closes.
void HandOverToFurnitureEditor(PlanObject* object);
