#pragma once

#include <QString>

/// The "VIEW" "highlight" key: whether HTML source is shown in colour.
namespace highlightsetting {

QString section();
QString key();

/// Only the exact text "FALSE" turns highlighting off; any other value, or
/// none, leaves it on.
bool isOn(const QString& value);

/// The value written for a state.
QString valueFor(bool on);

/// Writes the key alone into the settings file, creating the file (and its
/// folder) when missing. Throws AppError "Unable to write to %s" on failure.
void write(const QString& settingsFileName, bool on);

} // namespace highlightsetting
