#pragma once

// Drops the half-made object of the current creation tool and resets the document's
// last-edit state.
void CancelPendingObject();
