#pragma once
// The wait cursor the generators show while they rebuild an object (stairs, railings,
// post fences). The cursor is loaded once for the run. A rebuild that starts while it is
// already the cursor (a plan load shows it for the whole load) leaves it alone; any
// other shows it and puts back the cursor it found.
#include <windows.h>

class RebuildWaitCursor {
public:
    RebuildWaitCursor();
    ~RebuildWaitCursor();
    RebuildWaitCursor(const RebuildWaitCursor&) = delete;
    RebuildWaitCursor& operator=(const RebuildWaitCursor&) = delete;

private:
    HCURSOR previous = nullptr;
};
