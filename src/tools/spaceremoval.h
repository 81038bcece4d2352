#pragma once

#include <QString>
#include <QStringView>

/// Space removal: in every line each run of two or more spaces (code 32)
/// becomes one space. Tabs, no-break spaces and line breaks stay; runs at the
/// start or end of a line become one space too.
namespace spaceremoval {

/// One line without its break.
QString removeRepeatedSpaces(QStringView line);

/// True when the line holds two spaces in a row.
bool hasRepeatedSpaces(QStringView line);

} // namespace spaceremoval
