#pragma once

#include "core/platform/registry.h"

/// The file-type registry of a Linux desktop, asked through GIO at each
/// look-up, so an application installed or chosen while the editor runs is
/// the one used next.
class XdgRegistry : public Registry {
public:
    /// The MIME type of the extended editor's own documents; the default
    /// application for it is the extended editor.
    static QString extendedEditorMimeType() { return QStringLiteral("application/x-vqlfile"); }

    /// The extended editor's desktop entry's Exec line, with the codes that
    /// describe the entry (%i, %c, %k) filled in; the document's codes (%f,
    /// %u, ...) stay for the start.
    QString extendedEditorCommand() override;
    DesktopApplication applicationFor(const QString& contentType) override;

    /// Whether a program (an Exec line's first word) is this editor, under
    /// either of its names, which must never stand in for a web browser.
    static bool startsThisEditor(const QString& program);
};
