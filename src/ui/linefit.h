#pragma once

#include <QFont>
#include <QStringList>

/// The font, no larger than `start`, in which every one of `lines` fits in
/// `available` pixels, shrinking the pixel size one step at a time but not
/// below `smallestPixelSize`. `fits` tells whether the result does fit.
QFont fontFittingLines(const QFont& start, const QStringList& lines, int available, int smallestPixelSize,
                       bool* fits = nullptr);
