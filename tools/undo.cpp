#include "tools/undo.h"

uint32_t undoAvailable = 0;

// No creation tool leaves a half-made object yet.
void CancelPendingObject() {}

// No tool records an edit that can be undone yet.
void UndoLastEdit() {}
