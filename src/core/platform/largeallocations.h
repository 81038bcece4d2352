#pragma once

/// Makes every allocation of 1 MiB or more a mapping of its own.
///
/// The text widget keeps a page's characters in one string that grows as
/// the user types. Left to itself, the C library raises its mapping
/// threshold once large blocks have been freed (after loading a page, say)
/// up to 32 MiB, and a 16 MiB page's string then lives on the heap: the next
/// growth copies all of it, and that keystroke takes about 90 ms. A mapped
/// block grows in place by remapping its pages, and goes back to the system
/// when freed. Call first thing in main().
void mapLargeAllocations();
