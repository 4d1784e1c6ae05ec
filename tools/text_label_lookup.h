#pragma once
// The search for a text frame by its control lives with the in-place text editing.
#include "tools/text_editing.h"
