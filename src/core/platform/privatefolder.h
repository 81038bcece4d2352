#pragma once

#include <QString>

/// Creates the folder and its missing parents with mode 0700, as the XDG
/// rules ask for a settings folder: a new user may have none yet.
void makePrivateFolder(const QString& path);
