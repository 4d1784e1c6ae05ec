#include "planview/view_origin.h"

void SetWindowOrg16(HDC dc, int x, int y)
{
    if (dc)
        SetWindowOrgEx(dc, static_cast<short>(x), static_cast<short>(y), nullptr);
}

