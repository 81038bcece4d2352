#pragma once

#include "launch/registry.h"

/// The file-type registry of a Linux desktop: the freedesktop MIME
/// associations (mimeapps.list) and the desktop entries they name.
class XdgRegistry : public Registry {
public:
    QString extendedEditorCommand() override;
    QString openCommandForExtension(const QString& extension) override;
};
