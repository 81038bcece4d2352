#pragma once

class QWidget;

/// Puts a window in the middle of the screen it is on (the primary screen
/// when it has none yet).
void centreOnScreen(QWidget* window);
