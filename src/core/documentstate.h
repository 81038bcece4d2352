#pragma once

#include <QString>

/// The one document the editor holds.
struct DocumentState {
    /// The name of a document for which no file has been chosen. Compared
    /// exactly, letter case included.
    static QString untitledFileName() { return QStringLiteral("c:\\untitled.htm"); }

    QString fileName;             ///< full path; empty before start-up has set it
    bool modified = false;        ///< text changed since last loaded, saved or created
    bool launchWroteFile = false; ///< a preview or extended-editor launch wrote the file

    bool isUntitled() const { return fileName == untitledFileName(); }
};
