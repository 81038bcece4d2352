#include "core/platform/largeallocations.h"

#include <malloc.h>

void mapLargeAllocations()
{
    // A fixed threshold also stops the library from raising it later.
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
}
