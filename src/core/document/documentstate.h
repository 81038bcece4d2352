#pragma once

#include "core/document/diskfile.h"

#include <QByteArray>
#include <QString>

/// The one document the editor holds.
struct DocumentState {
    /// The name of a document for which no file has been chosen. Compared
    /// exactly, letter case included.
    static QString untitledFileName() { return QStringLiteral("c:\\untitled.htm"); }

    QString fileName;             ///< full path; empty before start-up has set it
    bool modified = false;        ///< text changed since last loaded, saved or created
    bool launchWroteFile = false; ///< a preview or extended-editor launch wrote the file

    QString stampedFile;          ///< the file `stamp` describes
    FileStamp stamp;              ///< that file as this editor last loaded or wrote it
    QString launchFile;           ///< the file the last launch wrote
    QByteArray launchFingerprint; ///< size and hash of the bytes it wrote there

    /// True for a name that stands for no file of its own: the untitled
    /// name, or none at all (start-up stopped before naming the document).
    static bool namesNoFile(const QString& name) { return name.isEmpty() || name == untitledFileName(); }

    bool isUntitled() const { return namesNoFile(fileName); }
};
