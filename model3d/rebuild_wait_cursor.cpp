#include "model3d/rebuild_wait_cursor.h"

namespace {

HCURSOR WaitCursor()
{
    static const HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    return wait;
}

} // namespace

RebuildWaitCursor::RebuildWaitCursor()
{
    const HCURSOR wait = WaitCursor();
    if (GetCursor() != wait)
        previous = SetCursor(wait);
}

RebuildWaitCursor::~RebuildWaitCursor()
{
    if (previous)
        SetCursor(previous);
}
