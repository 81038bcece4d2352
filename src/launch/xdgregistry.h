#pragma once

#include "core/registry.h"

/// The file-type registry of a Linux desktop: the freedesktop MIME
/// associations (mimeapps.list) and the desktop entries they name, read from
/// the XDG folders of the environment at each look-up. The commands are the
/// entries' Exec lines with the codes that describe the entry (%i, %c, %k)
/// filled in; the document's codes (%f, %u, ...) stay for the start.
class XdgRegistry : public Registry {
public:
    /// The MIME type of the extended editor's own documents; the default
    /// application for it is the extended editor.
    static QString extendedEditorMimeType() { return QStringLiteral("application/x-vqlfile"); }

    /// The extended editor's desktop entry's command.
    QString extendedEditorCommand() override;
    /// The command of the first application for the extension's MIME type
    /// that is not this editor; empty when none.
    QString openCommandForExtension(const QString& extension) override;
    /// The same for the scheme's handler type, "x-scheme-handler/https".
    QString openCommandForScheme(const QString& scheme) override;

    /// The MIME type a document extension stands for (letter case ignored);
    /// empty for extensions the web-link launcher does not ask about.
    static QString mimeTypeForExtension(const QString& extension);

    /// Whether an Exec line starts this editor (under either of its names),
    /// which must never stand in for a web browser.
    static bool startsThisEditor(const QString& execLine);
};
