#pragma once

#include <QFont>

struct SettingsStore;
class QWidget;

/// The editor font of the settings as a Qt font. Qt fonts carry no
/// character set: the number stays in SettingsStore and goes back into the
/// settings file with the rest.
QFont editorFont(const SettingsStore& settings);

/// Puts the settings' editor font on the editing area; text, selection and
/// Modified stay as they are.
void applyEditorFont(QWidget& memo, const SettingsStore& settings);
