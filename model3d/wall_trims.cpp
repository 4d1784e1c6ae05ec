#include "model3d/wall_trims.h"

// Segment heights are not read yet: every segment counts as flat at its foot.
float GetElementHeightForKind(const PlanVertex*, int)
{
    return 0.0f;
}
