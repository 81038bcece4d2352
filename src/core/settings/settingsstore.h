#pragma once

#include <QString>

/// Program-wide values loaded from the settings file at start-up and changed
/// by the Options dialog. The initial values are those before start-up has
/// read the file.
struct SettingsStore {
    QString editorFontName = QStringLiteral("Courier New");
    unsigned char editorFontSize = 11;      ///< points
    bool editorFontBold = false;            ///< style: regular or bold
    bool editorFontItalic = false;          ///< set only through the font dialog
    bool editorFontUnderline = false;       ///< set only through the font dialog
    bool editorFontStrikeOut = false;       ///< set only through the font dialog
    unsigned char editorFontCharset = 204;  ///< platform character-set number
    QString userName = QStringLiteral("Noname");
    QString userMail = QStringLiteral("@");
    QString netscapePath = QStringLiteral("C:\\Program Files\\Netscape\\Communicator\\Program\\netscape.exe");
    QString msiePath = QStringLiteral("C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE");
    QString browser3Path;
    QString workshopCommand;
    /// The extended editor's command as start-up found it (settings or the
    /// desktop); Apply leaves a found command unwritten so it stays live.
    QString foundWorkshopCommand;
    bool highlightTags = true;              ///< HTML shown in colour
    QString settingsFileName = QStringLiteral("Brannoc Quillet.ini");
};
