#pragma once

struct AppContext;

/// `PrintMClick`: prints the whole document in the editor's font.
void printDocument(AppContext& context);
