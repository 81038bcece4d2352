#pragma once

struct AppContext;
class QWidget;

/// `Options1Click`: a fresh Options dialog, shown modally and disposed of.
void showOptionsDialog(AppContext& context, QWidget* parent);
