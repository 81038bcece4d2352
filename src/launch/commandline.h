#pragma once

#include <QString>
#include <QStringList>

/// How a command line falls apart into a program and its arguments: blanks
/// and tabs separate words, double quotes group (a blank inside them is part
/// of the word) and are removed. A pair of quotes with nothing between them
/// is an empty word. No other character means anything: no shell sees the
/// line, so ";", "$(...)", "*" or "|" are ordinary characters of a word.
QStringList splitCommandLine(const QString& commandLine);
