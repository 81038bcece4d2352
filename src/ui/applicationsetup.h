#pragma once

class QApplication;

/// What the application shows the desktop: Qt's dialog texts in the user's
/// language, the desktop entry it belongs to ("quillet", so docks and task
/// bars find its name and icon), the window class "quillet" under either of
/// the program's names, and the window icon of every window.
void setUpApplication(QApplication& app);
