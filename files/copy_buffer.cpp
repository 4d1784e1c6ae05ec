#include "files/copy_buffer.h"

// The copy buffer is not there yet: nothing is copied, so nothing is pasted.
void CopySelection() {}
void PasteSelection() {}
