#pragma once

#include <QString>
#include <QStringList>

/// Turns a "description|patterns|description|patterns" filter, with the
/// patterns of one entry separated by ';', into Qt's name filters
/// ("description (*.htm *.html)"), one per entry. The pattern "*.*" becomes
/// "*", so that it matches every file here as it does on Windows.
QStringList toQtNameFilters(const QString& filter);
