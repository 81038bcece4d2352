#pragma once

#include <QString>

/// Names and addresses the program shows; each is kept only here.
namespace branding {

/// The application title: caption of plain messages and of the error box.
inline QString applicationTitle() { return QStringLiteral("Brannoc Quillet"); }

/// The main window's title while no document name is shown.
inline QString windowTitleBase() { return QStringLiteral("Brannoc Quillet 1.7"); }

/// The main window's title while it shows a document's name, as handed to
/// setWindowTitle: Qt reads "[*]" there as its modified marker and shows a
/// doubled one as itself, so a name holding "[*]" is shown as it is.
inline QString documentWindowTitle(const QString& fileName)
{
    QString name = fileName;
    name.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    return windowTitleBase() + QStringLiteral(" [") + name + u']';
}

/// The maker's web address (about box, tips, shortcut-file default, launcher).
inline QString makerWebAddress() { return QStringLiteral("http://www.brannoc.example/"); }

/// The maker's mail address held by the web-link launcher.
inline QString makerMailAddress() { return QStringLiteral("info@brannoc.example"); }

/// The maker's copyright line (about box).
inline QString copyrightLine() { return QStringLiteral("Copyright \u00A9 1998-1999 Brannoc Software"); }

} // namespace branding
