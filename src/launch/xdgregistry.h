#pragma once

#include "launch/registry.h"

/// The file-type registry of a Linux desktop: the freedesktop MIME
/// associations (mimeapps.list) and the desktop entries they name, read from
/// the XDG folders of the environment at each look-up.
class XdgRegistry : public Registry {
public:
    /// The MIME type of the extended editor's own documents; the default
    /// application for it is the extended editor.
    static QString extendedEditorMimeType() { return QStringLiteral("application/x-vqlfile"); }

    /// The Exec line of the extended editor's desktop entry, field codes and
    /// quotes included, as the entry states it.
    QString extendedEditorCommand() override;
    /// The Exec line of the default application for the extension's MIME
    /// type, field codes included; empty when none.
    QString openCommandForExtension(const QString& extension) override;

    /// The MIME type a document extension stands for (letter case ignored);
    /// empty for extensions the web-link launcher does not ask about.
    static QString mimeTypeForExtension(const QString& extension);
};
