#pragma once

#include "core/text/htmllexer.h"

#include <QColor>

/// The colours of the highlighted kinds of HTML source.
namespace tagcolours {

/// Contrast ratio of two colours by relative luminance, 1 to 21.
double contrastRatio(const QColor& a, const QColor& b);

/// The least contrast any colour keeps against the editing area.
constexpr double kMinimumContrast = 4.5;

/// The colour of `kind` on `background`: its own hue, moved towards black or
/// white as far as needed to stand out by at least kMinimumContrast.
QColor colourFor(htmllexer::Kind kind, const QColor& background);

} // namespace tagcolours
