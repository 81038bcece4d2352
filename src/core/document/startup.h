#pragma once

#include <QString>
#include <QStringList>

struct AppContext;
struct SettingsStore;
class IniFile;

/// The main window's start-up sequence: settings, extended editor, editor
/// font, and the document named on the command line. Errors leave it as
/// AppError at the step that failed; the window opens all the same.
void runStartupSequence(AppContext& context, const QStringList& arguments);

namespace startup {

QString settingsBaseName();

/// The directory with a trailing separator ('/'), unless empty or already there.
QString completePath(const QString& directory);

/// "'%s' is not a valid integer value" unless `text` is a decimal integer
/// (optional sign) that fits 32 bits; the value wraps into an unsigned byte.
unsigned char toByte(const QString& text);

/// Only the exact text "FALSE" means regular; anything else is bold.
bool isBoldStyle(const QString& text);

/// Reads the start-up keys in order into the settings. A number that is not
/// one gives its key's default; the errors come back in order for the error
/// box.
QStringList readSettings(const IniFile& ini, SettingsStore& settings);

/// Whether the settings hold any key the Options dialog writes (fonts, user,
/// programs); a file with only the highlighting switch holds none.
bool holdsOptions(const IniFile& ini);

/// The document's name from the command line: the arguments joined by single
/// blanks, up to the first empty one. Empty when there is none.
QString joinCommandLine(const QStringList& arguments);

/// The extended editor's command when "workshop" gave none: "extended" (what
/// the Options dialog writes), then the system's association.
QString fallbackExtendedEditor(const IniFile& ini, AppContext& context);

/// A command-line file too large for the editing area: offers it to the
/// extended editor, or reports that it cannot be loaded.
void handOverLargeFile(AppContext& context, const QString& fileName);

} // namespace startup
