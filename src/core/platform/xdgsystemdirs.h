#pragma once

#include "core/platform/systemdirs.h"

/// The settings directory on Linux: $XDG_CONFIG_HOME, or ~/.config when unset.
class XdgSystemDirs : public SystemDirs {
public:
    QString windowsDirectory() override;
    /// $XDG_STATE_HOME, or ~/.local/state when unset.
    QString stateDirectory() override;
};
