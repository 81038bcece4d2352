#pragma once

#include <QString>

/// Where the program keeps its settings file (the place of the Windows
/// directory on the original platform).
class SystemDirs {
public:
    virtual ~SystemDirs() = default;

    /// The settings directory, as reported by the platform (may be empty).
    virtual QString windowsDirectory() = 0;

    /// Where the program keeps state between runs (the edit journals); empty
    /// keeps none.
    virtual QString stateDirectory() = 0;
};
