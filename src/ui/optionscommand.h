#pragma once

struct AppContext;

/// `Options1Click`: a fresh Options dialog, shown modally and disposed of.
void showOptionsDialog(AppContext& context);
