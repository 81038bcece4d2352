// Draws the toolbar pictures (16 x 16) and the product logo (140 x 66) into
// the folder named on the command line. The PNG files it writes are kept in
// the repository; run it again only to change a picture:
//   g++ -std=c++17 -fPIC drawpictures.cpp $(pkg-config --cflags --libs Qt6Gui) -o drawpictures
//   QT_QPA_PLATFORM=offscreen ./drawpictures ..
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <functional>

namespace {

const QColor outline(64, 64, 64);

QImage canvas(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

void save(const QImage& image, const QString& folder, const QString& name)
{
    const QString path = QDir(folder).filePath(name);
    if (!image.save(path, "PNG"))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

void pixelPen(QPainter& p, const QColor& c)
{
    QPen pen(c);
    pen.setWidth(1);
    pen.setCosmetic(true);
    p.setPen(pen);
}

// A sheet of paper with a folded corner.
void page(QPainter& p)
{
    pixelPen(p, outline);
    p.setBrush(Qt::white);
    QPolygon sheet({ QPoint(3, 1), QPoint(10, 1), QPoint(13, 4), QPoint(13, 14), QPoint(3, 14) });
    p.drawPolygon(sheet);
    p.setBrush(QColor(210, 210, 210));
    p.drawPolygon(QPolygon({ QPoint(10, 1), QPoint(10, 4), QPoint(13, 4) }));
}

void newPicture(QPainter& p)
{
    page(p);
    // A small spark: this page is new.
    pixelPen(p, QColor(230, 170, 0));
    p.drawLine(4, 9, 8, 9);
    p.drawLine(6, 7, 6, 11);
}

void openPicture(QPainter& p)
{
    pixelPen(p, QColor(120, 90, 0));
    p.setBrush(QColor(230, 190, 60));
    p.drawPolygon(QPolygon({ QPoint(1, 3), QPoint(5, 3), QPoint(6, 4), QPoint(12, 4), QPoint(12, 13), QPoint(1, 13) }));
    p.setBrush(QColor(250, 220, 110));
    p.drawPolygon(QPolygon({ QPoint(3, 7), QPoint(15, 7), QPoint(12, 13), QPoint(1, 13) }));
    // The arrow of an opening lid.
    pixelPen(p, QColor(0, 100, 0));
    p.drawLine(10, 1, 14, 1);
    p.drawLine(14, 1, 14, 4);
    p.drawLine(13, 3, 15, 3);
}

void savePicture(QPainter& p)
{
    pixelPen(p, QColor(20, 30, 90));
    p.setBrush(QColor(50, 80, 170));
    p.drawPolygon(QPolygon({ QPoint(1, 1), QPoint(13, 1), QPoint(14, 2), QPoint(14, 14), QPoint(1, 14) }));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(3, 2, 9, 5);                      // label
    p.setBrush(QColor(190, 190, 200));
    p.drawRect(4, 10, 7, 4);                     // shutter
    p.setBrush(QColor(50, 80, 170));
    p.drawRect(8, 11, 2, 2);
    pixelPen(p, QColor(120, 120, 120));
    p.drawLine(4, 4, 10, 4);
}

void findReplacePicture(QPainter& p)
{
    // Lines of text with a magnifier over them.
    pixelPen(p, QColor(120, 120, 120));
    for (int y = 2; y <= 12; y += 3)
        p.drawLine(1, y, 11, y);
    p.setRenderHint(QPainter::Antialiasing);
    QPen rim(QColor(30, 30, 30));
    rim.setWidthF(1.6);
    p.setPen(rim);
    p.setBrush(QColor(190, 225, 255, 200));
    p.drawEllipse(QPointF(9.5, 7.5), 3.8, 3.8);
    QPen handle(QColor(120, 60, 20));
    handle.setWidthF(2.6);
    handle.setCapStyle(Qt::RoundCap);
    p.setPen(handle);
    p.drawLine(QPointF(12.4, 10.4), QPointF(14.6, 12.6));
}

// A globe: the preview pictures differ in colours and in what circles it.
void globe(QPainter& p, const QColor& sea, const QColor& land, const QColor& grid)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(8, 8);
    QPen rim(sea.darker(170));
    rim.setWidthF(1.0);
    p.setPen(rim);
    QRadialGradient shade(QPointF(6, 6), 8);
    shade.setColorAt(0, sea.lighter(150));
    shade.setColorAt(1, sea);
    p.setBrush(shade);
    p.drawEllipse(c, 6.5, 6.5);
    p.setPen(Qt::NoPen);
    p.setBrush(land);
    QPainterPath continent;
    continent.moveTo(4.5, 5);
    continent.cubicTo(6, 3, 9, 3.5, 8.5, 6);
    continent.cubicTo(8, 8, 10, 9, 8.5, 11);
    continent.cubicTo(7, 12.5, 5, 10, 5.5, 8.5);
    continent.closeSubpath();
    p.drawPath(continent);
    p.drawEllipse(QPointF(11.5, 6.0), 1.5, 1.2);
    QPen lines(grid);
    lines.setWidthF(0.7);
    p.setPen(lines);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 3.0, 6.5);
    p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
}

void previewOnePicture(QPainter& p)
{
    globe(p, QColor(20, 70, 140), QColor(60, 160, 70), QColor(200, 220, 255, 170));
    // A pointer arrow: the page goes out to the browser.
    p.setRenderHint(QPainter::Antialiasing, false);
    pixelPen(p, Qt::black);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygon({ QPoint(10, 9), QPoint(10, 15), QPoint(11, 14), QPoint(12, 15), QPoint(13, 15),
                             QPoint(12, 13), QPoint(14, 13) }));
}

void previewTwoPicture(QPainter& p)
{
    globe(p, QColor(70, 150, 220), QColor(240, 200, 80), QColor(255, 255, 255, 150));
    // An orbit ring across the globe.
    QPen ring(QColor(230, 110, 20));
    ring.setWidthF(1.4);
    p.setPen(ring);
    p.setBrush(Qt::NoBrush);
    p.save();
    p.translate(8, 8);
    p.rotate(-25);
    p.drawEllipse(QPointF(0, 0), 7.6, 2.6);
    p.restore();
}

void extendedEditorPicture(QPainter& p)
{
    // A window with a title bar and a pencil writing into it.
    pixelPen(p, outline);
    p.setBrush(Qt::white);
    p.drawRect(1, 2, 12, 11);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 128));
    p.drawRect(2, 3, 11, 2);
    pixelPen(p, QColor(150, 150, 150));
    p.drawLine(3, 7, 8, 7);
    p.drawLine(3, 9, 6, 9);
    p.setRenderHint(QPainter::Antialiasing);
    p.save();
    p.translate(11.5, 10.5);
    p.rotate(45);
    p.setPen(QPen(QColor(90, 60, 0), 0.8));
    p.setBrush(QColor(250, 200, 40));
    p.drawRect(QRectF(-1.5, -6.5, 3, 8));
    p.setBrush(QColor(240, 200, 160));
    p.drawPolygon(QPolygonF({ QPointF(-1.5, 1.5), QPointF(1.5, 1.5), QPointF(0, 4.5) }));
    p.restore();
}

// Lines of a text block aligned to one side: -1 left, 0 centre, 1 right.
void alignPicture(QPainter& p, int side)
{
    pixelPen(p, Qt::black);
    const int widths[] = { 12, 8, 12, 6, 10 };
    for (int i = 0; i < 5; ++i) {
        const int w = widths[i];
        int x = 2;
        if (side == 0)
            x = 2 + (12 - w) / 2;
        else if (side > 0)
            x = 14 - w;
        const int y = 3 + i * 2 + (i > 0 ? i / 2 : 0);
        p.drawLine(x, y, x + w - 1, y);
    }
}

void logo(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // A quill across the left end.
    p.save();
    p.translate(26, 34);
    p.rotate(-35);
    QPainterPath vane;
    vane.moveTo(0, 26);
    vane.cubicTo(-13, 8, -9, -14, 2, -28);
    vane.cubicTo(10, -12, 10, 8, 0, 26);
    QLinearGradient feather(QPointF(-10, 0), QPointF(10, 0));
    feather.setColorAt(0, QColor(40, 70, 150));
    feather.setColorAt(1, QColor(120, 170, 230));
    p.setPen(QPen(QColor(20, 40, 100), 1));
    p.setBrush(feather);
    p.drawPath(vane);
    p.setPen(QPen(QColor(240, 240, 255), 1.2));
    p.drawLine(QPointF(0.5, 24), QPointF(1.5, -24));
    p.setPen(QPen(QColor(30, 30, 30), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, 26), QPointF(-0.5, 32));
    p.restore();
    // An ink stroke under the name.
    QPen ink(QColor(20, 40, 100), 2.0, Qt::SolidLine, Qt::RoundCap);
    p.setPen(ink);
    QPainterPath stroke;
    stroke.moveTo(38, 52);
    stroke.cubicTo(70, 46, 100, 58, 134, 49);
    p.setBrush(Qt::NoBrush);
    p.drawPath(stroke);
    // The name.
    QFont name(QStringLiteral("DejaVu Serif"));
    name.setPixelSize(25);
    name.setBold(true);
    name.setItalic(true);
    p.setFont(name);
    p.setPen(QColor(20, 40, 100));
    p.drawText(QRectF(38, 12, 100, 34), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Quillet"));
    QFont maker(QStringLiteral("DejaVu Sans"));
    maker.setPixelSize(9);
    maker.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    p.setFont(maker);
    p.setPen(QColor(90, 90, 90));
    p.drawText(QRectF(40, 3, 100, 12), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("BRANNOC"));
    p.drawText(QRectF(40, 54, 96, 11), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("1.7"));
}

// The icon of the program's text forms: a quill on a sheet.
void formIcon(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5.5, 2.5, 19, 26));
    p.setPen(QPen(QColor(160, 160, 160), 1));
    for (int y = 8; y <= 24; y += 4)
        p.drawLine(QPointF(8.5, y + 0.5), QPointF(21.5, y + 0.5));
    p.translate(20, 17);
    p.rotate(-35);
    QPainterPath vane;
    vane.moveTo(0, 13);
    vane.cubicTo(-6.5, 4, -4.5, -7, 1, -14);
    vane.cubicTo(5, -6, 5, 4, 0, 13);
    p.setPen(QPen(QColor(20, 40, 100), 1));
    p.setBrush(QColor(60, 100, 190));
    p.drawPath(vane);
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: drawpictures RESOURCE-FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder + QStringLiteral("/toolbar"));

    const std::pair<const char*, std::function<void(QPainter&)>> pictures[] = {
        { "SpeedButton7", newPicture },
        { "SpeedButton8", openPicture },
        { "SpeedButton9", savePicture },
        { "SpeedButton1", findReplacePicture },
        { "SpeedButton5", previewOnePicture },
        { "SpeedButton6", previewTwoPicture },
        { "SpeedButton10", extendedEditorPicture },
        { "SpeedButton2", [](QPainter& p) { alignPicture(p, -1); } },
        { "SpeedButton3", [](QPainter& p) { alignPicture(p, 0); } },
        { "SpeedButton4", [](QPainter& p) { alignPicture(p, 1); } },
    };
    for (const auto& [name, draw] : pictures) {
        QImage image = canvas(16, 16);
        QPainter painter(&image);
        draw(painter);
        painter.end();
        save(image, folder + QStringLiteral("/toolbar"), QString::fromLatin1(name) + QStringLiteral(".png"));
    }

    QImage icon = canvas(32, 32);
    QPainter iconPainter(&icon);
    formIcon(iconPainter);
    iconPainter.end();
    save(icon, folder, QStringLiteral("formicon.png"));

    QImage image(140, 66, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    logo(painter);
    painter.end();
    save(image, folder, QStringLiteral("logo.png"));
    return 0;
}
