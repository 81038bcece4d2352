#include "ui/tagcolours.h"

#include <cmath>

namespace tagcolours {

namespace {

double linear(double channel)
{
    return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& c)
{
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

QColor mix(const QColor& from, const QColor& to, double share)
{
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * share),
                            float(from.greenF() + (to.greenF() - from.greenF()) * share),
                            float(from.blueF() + (to.blueF() - from.blueF()) * share));
}

// Hues chosen for a light page; on a dark one they are lightened.
QColor hue(htmllexer::Kind kind)
{
    switch (kind) {
    case htmllexer::Kind::Tag: return QColor(0x00, 0x33, 0xAA);
    case htmllexer::Kind::Attribute: return QColor(0x9C, 0x2A, 0x00);
    case htmllexer::Kind::Value: return QColor(0x1A, 0x7A, 0x1A);
    case htmllexer::Kind::Reference: return QColor(0x8A, 0x2B, 0xB0);
    case htmllexer::Kind::Comment: return QColor(0x6E, 0x6E, 0x6E);
    case htmllexer::Kind::Embedded: return QColor(0x6A, 0x5D, 0x2E);
    case htmllexer::Kind::Doctype: return QColor(0x00, 0x6F, 0x6F);
    }
    return Qt::black;
}

} // namespace

double contrastRatio(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor colourFor(htmllexer::Kind kind, const QColor& background)
{
    const QColor base = hue(kind);
    // Towards whichever of black and white stands out more on this background.
    const QColor extreme = contrastRatio(Qt::black, background) >= contrastRatio(Qt::white, background)
        ? QColor(Qt::black)
        : QColor(Qt::white);
    QColor colour = base;
    for (int step = 1; step <= 20 && contrastRatio(colour, background) < kMinimumContrast; ++step)
        colour = mix(base, extreme, step / 20.0);
    return colour;
}

} // namespace tagcolours
