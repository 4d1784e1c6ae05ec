#include "files/object_exchange.h"

// Object files cannot be read yet: every import fails.
bool ImportObjectFile(const char*)
{
    return false;
}
