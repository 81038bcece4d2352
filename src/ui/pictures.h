#pragma once

/// Registers the program's pictures (toolbar, product logo) under ":/". They
/// are compiled into the static library, whose linker would otherwise drop
/// them as unreferenced; call once before the first picture is used.
void loadPictures();
