#pragma once

#include <QString>

/// An application of the desktop, as its desktop entry describes it.
struct DesktopApplication {
    QString id;   ///< the desktop entry's id ("org.example.Browser.desktop"); empty: none
    QString name; ///< its name in the user's language, for messages
};

/// The look-ups the program makes in the desktop's file-type registry.
class Registry {
public:
    virtual ~Registry() = default;

    /// The extended editor's open command, whole and unchanged; empty when
    /// none is registered.
    virtual QString extendedEditorCommand() = 0;

    /// The application the desktop opens `contentType` with (a MIME type such
    /// as "text/html", or "x-scheme-handler/https" for web addresses): the
    /// default one, else the first other one that claims the type. An entry
    /// that starts this editor is passed over. No id when there is none.
    virtual DesktopApplication applicationFor(const QString& contentType) = 0;
};
