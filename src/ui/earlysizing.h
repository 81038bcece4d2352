#pragma once

class QWidget;

/// A hidden window learns its sizes only as it shows: each widget then gets
/// the resize event it was owed. An editing area filled before that lays out
/// every block of its document once more for the width it learns, a pass
/// over all lines of a page loaded at start-up. Delivering those events
/// early, while the document is still empty, spares that pass; showing the
/// window later finds every size already told.
namespace earlysizing {

/// Polishes and lays out the hidden `window` and sends every resize event it
/// and its widgets still owe, parents first, as the first show would.
void deliverPendingSizes(QWidget& window);

} // namespace earlysizing
