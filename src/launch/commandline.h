#pragma once

#include <QString>
#include <QStringList>

/// How a command line falls apart into a program and its arguments: blanks
/// and tabs separate words, double quotes group (a blank inside them is part
/// of the word) and are removed. A pair of quotes with nothing between them
/// is an empty word. No other character means anything: no shell sees the
/// line, so ";", "$(...)", "*" or "|" are ordinary characters of a word.
QStringList splitCommandLine(const QString& commandLine);

/// The program and arguments that run `command` on one document (a file name
/// or a web address). The command is split as above; then, in every word,
/// the desktop-entry field codes are filled: "%f", "%F", "%u", "%U" and the
/// "%1" of registered commands take the document, "%%" is a "%", every other
/// code is dropped, and a word left empty by dropping goes. The document is
/// always one argument (or one piece of one word), never split and never
/// scanned for codes itself; it is appended as the last argument unless a
/// code took it. Empty when the command names no program or its program word
/// would be made of the document.
QStringList commandArguments(const QString& command, const QString& document);

/// What a desktop entry tells about itself for its Exec line's codes.
struct DesktopEntryFacts {
    QString icon;      ///< the Icon key, may be empty
    QString name;      ///< the Name key in the user's language
    QString entryFile; ///< where the entry file is
};

/// An Exec line with the codes that describe its entry filled in, so that
/// the line can be kept as a plain command: "%i" becomes --icon and the icon
/// (nothing without one), "%c" the name, "%k" the entry's file, each value
/// quoted as one word. "%%" and the document's codes stay for
/// commandArguments; a "%" inside a value is doubled so it stays a "%", and
/// a quotation mark, which a word cannot carry, is left out.
QString fillEntryCodes(const QString& execLine, const DesktopEntryFacts& entry);
