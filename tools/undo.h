#pragma once
#include <cstdint>

// The plan keeps one step of history: the last mouse edit of a transform tool or of a
// creation tool. Command 16 toggles it between undone and redone. A transform is undone
// by the inverse transform of the current selection; a creation by taking the new object
// off its floor and holding it aside until a redo puts it back or it is discarded.
//
// The undo state is the one plan's it was made in: every gesture's press gives it to
// the active plan, and another plan neither undoes it nor offers it in its menu.

struct PlanDocument;
struct PlanObject;

// Set by a tool when its gesture really changed the plan; cleared by CancelPendingObject.
extern uint32_t undoAvailable;
// The plan whose last gesture the undo state describes (null before any gesture).
extern PlanDocument* undoDocument;

// What the transform tools keep of their last change for the undo.
struct UndoRecord {
    float rotateAngle;          // radians, turned about rotateCentre
    float rotateCentre[3];
    float resizeFactors[3];     // x, height, z
    float resizeFixedPoint[3];
};
extern UndoRecord undoRecord;

// Drops the half-made object of the current creation tool and resets the document's
// last-edit state; an undone creation is freed. Nothing of another plan's undo state
// is touched. Every edit the undo cannot reverse and every change of the selection
// outside a gesture calls it, so that the selection a transform's undo turns back is
// still the one that edit changed.
void CancelPendingObject();
// Undoes (or redoes) the last edit of the active document by its last-edit kind.
void UndoLastEdit();
// True when the undo state belongs to the active plan.
bool UndoBelongsToActivePlan();
// The start of a gesture: a creation still standing undone is freed, and the undo state
// becomes the active plan's.
void BeginUndoableGesture();
// An object about to be freed by a tool (a wall merged or joined away): when it is the
// pending creation, the undo forgets it rather than touch freed memory.
void ForgetPendingObject(const PlanObject* object);
