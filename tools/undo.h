#pragma once
#include <cstdint>

// Set by a tool when its gesture really changed the plan; cleared by CancelPendingObject.
extern uint32_t undoAvailable;

// Drops the half-made object of the current creation tool and resets the document's
// last-edit state.
void CancelPendingObject();
// Undoes (or redoes) the last edit of the active document by its last-edit kind.
void UndoLastEdit();
