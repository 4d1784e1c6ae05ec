#pragma once
// Cut, copy and paste inside the program: the selected objects of the storeys and of
// their top-view sheets are kept as plan records in the record stream's memory block
// (no system clipboard) and pasted back onto the floor they came from, moved a little
// further at each paste. The copy is also drawn into a metafile.
#include <windows.h>
#include <cstdint>

struct PlanFloor;

// Name of the floor that was current at the copy (the paste looks it up by name: the
// plan copied from may be closed since).
extern char copySourceFloorName[256];
// The current floor at the copy; non-null once something was copied.
extern PlanFloor* copySourceFloor;
// Offset of the next paste in both plan axes: 36 after a copy, 36 more after each paste.
extern float pasteOffset;
// The copied objects drawn into a metafile, replaced at each copy.
extern HENHMETAFILE copyPicture;
// Extents of the copied objects: top, left, bottom, right.
extern float copyExtents[4];
// 1 while the copy is drawn into its metafile (texts draw their lines for it).
extern uint8_t renderingCopyPicture;

// Copies the selection. False when there is no document or the copy could not be kept
// (memory): the user is told, the previous copy is gone and nothing is pasted.
bool CopySelection();
// Pastes the last copy onto its floor, selected, moved by the paste offset.
void PasteSelection();
