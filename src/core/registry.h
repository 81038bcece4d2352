#pragma once

#include <QString>

/// The look-ups the program makes in the system's file-type registry.
class Registry {
public:
    virtual ~Registry() = default;

    /// The extended editor's open command, whole and unchanged; empty when
    /// none is registered.
    virtual QString extendedEditorCommand() = 0;

    /// The open command registered for a document extension such as ".HTM",
    /// as stored (placeholders not yet filled); empty when none.
    virtual QString openCommandForExtension(const QString& extension) = 0;

    /// The open command registered for web addresses of a scheme such as
    /// "https", as stored; empty when none.
    virtual QString openCommandForScheme(const QString& scheme) = 0;
};
