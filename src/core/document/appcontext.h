#pragma once

#include "core/document/documentstate.h"
#include "core/platform/platform.h"
#include "core/platform/windowservices.h"
#include "core/settings/settingsstore.h"

class QTextEdit;
class EditorBuffer;
class SavedTextSnapshot;
class DocumentJournal;

/// What the command handlers share: the main window's controls, the
/// program-wide state and the platform services. Owned by the main window.
struct AppContext {
    WindowServices* window = nullptr;    ///< what commands may ask of the main window
    EditorBuffer* memo1 = nullptr;       ///< the editing area
    SavedTextSnapshot* memo2 = nullptr;  ///< the saved-text snapshot
    QTextEdit* richEdit1 = nullptr;      ///< the hidden print formatter
    DocumentState doc;
    SettingsStore settings;
    QString saveDlgFileName;             ///< the name the save dialog `SaveDlg` proposes
    Platform platform;
    DocumentJournal* journal = nullptr;  ///< the edit journal; null in tests without a window
};
