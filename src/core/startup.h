#pragma once

#include <QStringList>

struct AppContext;

/// The main window's start-up sequence: settings, extended editor, editor
/// font, and the document named on the command line.
void runStartupSequence(AppContext& context, const QStringList& arguments);
