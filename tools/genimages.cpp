// Draws every picture the program ships, so the art can be regenerated and
// reviewed like code. Usage: fauntome_genimages <resources-dir>

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>
#include <QtMath>

#include <cmath>
#include <cstdio>

namespace {

// One palette for everything.
const QColor kTeal(0x05, 0xB8, 0xCC);
const QColor kDeepTeal(0x0B, 0x6E, 0x7A);
const QColor kInk(0x10, 0x3A, 0x42);
const QColor kAmber(0xF2, 0xA3, 0x3A);
const QColor kDeepAmber(0xD3, 0x74, 0x1C);
const QColor kCream(0xFB, 0xF7, 0xEE);

QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

QImage canvas(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

// Every drawing is authored in a unit x unit square and scaled to the image.
void prepare(QPainter& p, const QImage& img, qreal unitW, qreal unitH)
{
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    p.scale(img.width() / unitW, img.height() / unitH);
}

bool g_ok = true;

void save(const QImage& img, const QString& path, bool opaque = false)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QImage out = img.convertToFormat(opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    if (!out.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        g_ok = false;
    }
}

// Windows icon with a single 32-bit DIB entry; Qt's own writer is not relied on
// so the layout (one image, 32 bpp, AND mask) is exactly what the loaders expect.
void saveIco(const QImage& src, const QString& path)
{
    const QImage img = src.convertToFormat(QImage::Format_ARGB32);
    const int w = img.width();
    const int h = img.height();
    const int maskStride = ((w + 31) / 32) * 4;
    const quint32 xorSize = quint32(w * h * 4);
    const quint32 andSize = quint32(maskStride * h);
    const quint32 dibSize = 40 + xorSize + andSize;

    QByteArray data;
    auto u8 = [&data](int v) { data.append(char(v & 0xFF)); };
    auto u16 = [&u8](quint32 v) {
        u8(int(v));
        u8(int(v >> 8));
    };
    auto u32 = [&u16](quint32 v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };

    u16(0);
    u16(1);
    u16(1); // header: reserved, type icon, count
    u8(w >= 256 ? 0 : w);
    u8(h >= 256 ? 0 : h); // entry
    u8(0);
    u8(0);
    u16(1);
    u16(32);
    u32(dibSize);
    u32(6 + 16);
    u32(40);
    u32(quint32(w));
    u32(quint32(h * 2)); // BITMAPINFOHEADER, height covers mask
    u16(1);
    u16(32);
    u32(0);
    u32(xorSize + andSize);
    u32(0);
    u32(0);
    u32(0);
    u32(0);
    for (int y = h - 1; y >= 0; --y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            u8(qBlue(line[x]));
            u8(qGreen(line[x]));
            u8(qRed(line[x]));
            u8(qAlpha(line[x]));
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < w; ++x) {
            if (qAlpha(line[x]) == 0)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        }
        data.append(row);
    }

    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        g_ok = false;
    }
}

// Large pale gradients are painted at 16 bits per channel and brought down to
// 8 bits with random rounding, so they show no banding rings.
QImage deepCanvas(int w, int h)
{
    QImage img(w, h, QImage::Format_RGBA64_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

QImage dithered(const QImage& deep)
{
    const QImage src = deep.convertToFormat(QImage::Format_RGBA64);
    QImage out(src.size(), QImage::Format_ARGB32);
    quint32 seed = 0x9E3779B9u;
    auto to8 = [&seed](quint16 v) {
        seed = seed * 1664525u + 1013904223u;
        const quint32 scaled = quint32(v) * 255u + (seed >> 16); // 16.16 with random fraction
        return int(qMin<quint32>(255u, scaled / 65535u));
    };
    for (int y = 0; y < src.height(); ++y) {
        const QRgba64* in = reinterpret_cast<const QRgba64*>(src.constScanLine(y));
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            const int r = to8(in[x].red());
            const int g = to8(in[x].green());
            const int b = to8(in[x].blue());
            line[x] = qRgba(r, g, b, in[x].alpha8());
        }
    }
    return out;
}

// ---------------------------------------------------------------- shapes ---

QPainterPath leafPath(QPointF base, QPointF tip, qreal width)
{
    const QPointF d = tip - base;
    const qreal len = std::hypot(d.x(), d.y());
    const QPointF n(-d.y() / len * width, d.x() / len * width);
    QPainterPath path(base);
    path.cubicTo(base + d * 0.25 + n, base + d * 0.75 + n * 0.8, tip);
    path.cubicTo(base + d * 0.75 - n * 0.8, base + d * 0.25 - n, base);
    path.closeSubpath();
    return path;
}

void drawLeaf(QPainter& p, QPointF base, QPointF tip, qreal width, const QColor& light, const QColor& dark,
              const QColor& vein)
{
    QLinearGradient g(base, tip);
    g.setColorAt(0, dark);
    g.setColorAt(1, light);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(leafPath(base, tip, width));
    if (vein.alpha() > 0) {
        p.setPen(QPen(vein, width * 0.12, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(base + (tip - base) * 0.08, base + (tip - base) * 0.8);
    }
}

// A curved stem with alternating leaves, used as quiet decoration.
void drawSprig(QPainter& p, QPointF base, qreal angleDeg, qreal length, const QColor& c)
{
    p.save();
    p.translate(base);
    p.rotate(angleDeg);
    QPainterPath stem(QPointF(0, 0));
    stem.cubicTo(QPointF(length * 0.3, -length * 0.05), QPointF(length * 0.7, length * 0.08), QPointF(length, 0));
    p.setPen(QPen(c, length * 0.018, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(stem);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    const int leaves = 7;
    for (int i = 1; i <= leaves; ++i) {
        const qreal t = qreal(i) / (leaves + 1);
        const QPointF at = stem.pointAtPercent(t);
        const qreal size = length * (0.22 - 0.1 * t);
        const qreal side = (i % 2) ? -1.0 : 1.0;
        const QPointF tip = at + QPointF(size * 0.55, side * size);
        p.drawPath(leafPath(at, tip, size * 0.28));
    }
    p.drawPath(leafPath(QPointF(length, 0), QPointF(length * 1.14, -length * 0.02), length * 0.035));
    p.restore();
}

// Creature head with leaf ears inside a teal disc: the program's emblem.
void drawEmblem(QPainter& p, const QRectF& box, bool disc = true)
{
    p.save();
    p.translate(box.topLeft());
    p.scale(box.width() / 100.0, box.height() / 100.0);
    p.setPen(Qt::NoPen);

    if (disc) {
        QRadialGradient bg(QPointF(38, 30), 80);
        bg.setColorAt(0, kTeal);
        bg.setColorAt(1, kDeepTeal.darker(115));
        p.setBrush(bg);
        p.drawEllipse(QPointF(50, 50), 48, 48);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(withAlpha(kAmber, 230), 2.4));
        p.drawEllipse(QPointF(50, 50), 43.5, 43.5);
        p.setPen(Qt::NoPen);
    }

    // Ears are leaves.
    drawLeaf(p, QPointF(36, 46), QPointF(16, 21), 11, QColor(0xFF, 0xC8, 0x5C), kDeepAmber,
             withAlpha(kDeepAmber.darker(130), 200));
    drawLeaf(p, QPointF(64, 46), QPointF(84, 21), 11, QColor(0xFF, 0xC8, 0x5C), kDeepAmber,
             withAlpha(kDeepAmber.darker(130), 200));

    QPainterPath face(QPointF(50, 85));
    face.cubicTo(QPointF(34, 85), QPointF(22, 74), QPointF(23, 60));
    face.cubicTo(QPointF(24, 45), QPointF(36, 36), QPointF(50, 36));
    face.cubicTo(QPointF(64, 36), QPointF(76, 45), QPointF(77, 60));
    face.cubicTo(QPointF(78, 74), QPointF(66, 85), QPointF(50, 85));
    QLinearGradient fg(QPointF(50, 36), QPointF(50, 85));
    fg.setColorAt(0, QColor(0xFF, 0xFD, 0xF7));
    fg.setColorAt(1, QColor(0xF3, 0xE6, 0xCF));
    p.setBrush(fg);
    p.drawPath(face);

    // Sprout on the forehead.
    drawLeaf(p, QPointF(50, 49), QPointF(50, 38.5), 3.6, kTeal, kDeepTeal, QColor(0, 0, 0, 0));

    p.setBrush(kInk);
    p.drawEllipse(QPointF(40, 60), 4.2, 5.2);
    p.drawEllipse(QPointF(60, 60), 4.2, 5.2);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(41.5, 58), 1.5, 1.5);
    p.drawEllipse(QPointF(61.5, 58), 1.5, 1.5);

    QPainterPath nose(QPointF(46.5, 68));
    nose.quadTo(QPointF(50, 66.5), QPointF(53.5, 68));
    nose.quadTo(QPointF(52, 72), QPointF(50, 72.2));
    nose.quadTo(QPointF(48, 72), QPointF(46.5, 68));
    p.setBrush(kInk);
    p.drawPath(nose);
    QPainterPath mouth(QPointF(45.5, 74.5));
    mouth.quadTo(QPointF(48, 77), QPointF(50, 73.5));
    mouth.quadTo(QPointF(52, 77), QPointF(54.5, 74.5));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kInk, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(mouth);

    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(QColor(0xF2, 0x8C, 0x6A), 90));
    p.drawEllipse(QPointF(32, 69), 4.5, 3);
    p.drawEllipse(QPointF(68, 69), 4.5, 3);
    p.restore();
}

// Clears a margin around a shape so overlapping icon parts stay separate.
void punch(QPainter& p, const QPainterPath& shape, qreal margin)
{
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.setPen(QPen(Qt::black, margin * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::black);
    p.drawPath(shape);
    p.restore();
}

struct PersonShape
{
    QPainterPath head;
    QPainterPath body;
};

PersonShape personShape(const QRectF& b)
{
    auto at = [&b](qreal x, qreal y) { return QPointF(b.left() + x * b.width(), b.top() + y * b.height()); };
    PersonShape s;
    s.head.addEllipse(at(0.5, 0.27), b.width() * 0.21, b.width() * 0.21);
    s.body.moveTo(at(0.08, 1.0));
    s.body.lineTo(at(0.08, 0.86));
    s.body.cubicTo(at(0.08, 0.66), at(0.27, 0.55), at(0.5, 0.55));
    s.body.cubicTo(at(0.73, 0.55), at(0.92, 0.66), at(0.92, 0.86));
    s.body.lineTo(at(0.92, 1.0));
    s.body.closeSubpath();
    return s;
}

void drawPerson(QPainter& p, const QRectF& b, const QColor& top, const QColor& bottom, qreal gap)
{
    const PersonShape s = personShape(b);
    QLinearGradient g(b.topLeft(), b.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(s.body);
    punch(p, s.head, gap);
    p.setBrush(g);
    p.drawPath(s.head);
}

QPainterPath personOutline(const QRectF& b)
{
    const PersonShape s = personShape(b);
    return s.head.united(s.body);
}

void drawFolderBadge(QPainter& p, const QRectF& b, qreal gap)
{
    auto at = [&b](qreal x, qreal y) { return QPointF(b.left() + x * b.width(), b.top() + y * b.height()); };
    const qreal r = b.width() * 0.06;
    QPainterPath back;
    back.addRoundedRect(QRectF(at(0, 0.16), at(0.92, 0.92)), r, r);
    QPainterPath tab;
    tab.addRoundedRect(QRectF(at(0, 0.08), at(0.42, 0.3)), r, r);
    back = back.united(tab);
    QPainterPath front;
    front.moveTo(at(0.18, 0.4));
    front.lineTo(at(1.0, 0.4));
    front.lineTo(at(0.84, 0.92));
    front.lineTo(at(0.0, 0.92));
    front.closeSubpath();
    punch(p, back.united(front), gap);

    p.setPen(Qt::NoPen);
    p.setBrush(kDeepAmber);
    p.drawPath(back);
    p.setBrush(kCream);
    p.drawRoundedRect(QRectF(at(0.12, 0.24), at(0.8, 0.6)), r * 0.5, r * 0.5);
    QLinearGradient g(at(0, 0.4), at(0, 0.92));
    g.setColorAt(0, QColor(0xFF, 0xC4, 0x5E));
    g.setColorAt(1, kAmber);
    p.setBrush(g);
    QPainterPathStroker rounder;
    rounder.setWidth(r);
    rounder.setJoinStyle(Qt::RoundJoin);
    p.drawPath(front.united(rounder.createStroke(front)));
}

void drawFloppyBadge(QPainter& p, const QRectF& b, qreal gap)
{
    auto at = [&b](qreal x, qreal y) { return QPointF(b.left() + x * b.width(), b.top() + y * b.height()); };
    const qreal r = b.width() * 0.09;
    QPainterPath body;
    body.moveTo(at(0, r / b.height()));
    body.quadTo(at(0, 0), at(r / b.width(), 0));
    body.lineTo(at(0.8, 0));
    body.lineTo(at(1, 0.2));
    body.lineTo(at(1, 1 - r / b.height()));
    body.quadTo(at(1, 1), at(1 - r / b.width(), 1));
    body.lineTo(at(r / b.width(), 1));
    body.quadTo(at(0, 1), at(0, 1 - r / b.height()));
    body.closeSubpath();
    punch(p, body, gap);

    QLinearGradient g(b.topLeft(), b.bottomLeft());
    g.setColorAt(0, kAmber);
    g.setColorAt(1, kDeepAmber);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(body);
    p.setBrush(kCream);
    p.drawRoundedRect(QRectF(at(0.22, 0), at(0.72, 0.32)), r * 0.3, r * 0.3);
    p.setBrush(kDeepAmber.darker(120));
    p.drawRect(QRectF(at(0.54, 0.05), at(0.64, 0.26)));
    p.setBrush(kCream);
    p.drawRoundedRect(QRectF(at(0.14, 0.5), at(0.86, 1.0)), r * 0.4, r * 0.4);
    p.setPen(QPen(withAlpha(kDeepAmber, 170), b.width() * 0.045, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(at(0.26, 0.66), at(0.74, 0.66));
    p.drawLine(at(0.26, 0.82), at(0.62, 0.82));
}

const QColor kPersonTop(0x12, 0xC4, 0xD6);
const QColor kPersonBottom(0x0A, 0x78, 0x86);

void drawTeam(QPainter& p, const QRectF& b, qreal gap)
{
    auto box = [&b](qreal x, qreal y, qreal w, qreal h) {
        return QRectF(b.left() + x * b.width(), b.top() + y * b.height(), w * b.width(), h * b.height());
    };
    const QColor backTop(0x8A, 0xDD, 0xE5);
    const QColor backBottom(0x3F, 0xA8, 0xB5);
    drawPerson(p, box(0.0, 0.16, 0.5, 0.72), backTop, backBottom, gap * 0.7);
    drawPerson(p, box(0.5, 0.16, 0.5, 0.72), backTop, backBottom, gap * 0.7);
    const QRectF front = box(0.2, 0.26, 0.6, 0.74);
    punch(p, personOutline(front), gap);
    drawPerson(p, front, kPersonTop, kPersonBottom, gap * 0.8);
}

// ---------------------------------------------------------------- images ---

QImage makeEmblemImage(int size)
{
    QImage img = canvas(size, size);
    QPainter p(&img);
    prepare(p, img, 100, 100);
    drawEmblem(p, QRectF(1, 1, 98, 98));
    return img;
}

QFont font(const QString& family, qreal px, int weight, const QStringList& fallbacks = {})
{
    QFont f(family);
    f.setFamilies(QStringList{family} + fallbacks);
    f.setPixelSize(qMax(1, qRound(px)));
    f.setWeight(QFont::Weight(weight));
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QImage makeSplash()
{
    QImage img = deepCanvas(500, 250);
    QPainter p(&img);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);

    QLinearGradient bg(0, 0, 500, 250);
    bg.setColorAt(0, QColor(0x0E, 0x8F, 0x9E));
    bg.setColorAt(0.55, kDeepTeal);
    bg.setColorAt(1, QColor(0x08, 0x4A, 0x54));
    p.fillRect(img.rect(), bg);

    QRadialGradient glow(QPointF(110, 125), 160);
    glow.setColorAt(0, QColor(255, 255, 255, 60));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(img.rect(), glow);

    drawSprig(p, QPointF(470, 262), -128, 150, QColor(255, 255, 255, 22));
    drawSprig(p, QPointF(300, -12), 160, 120, QColor(255, 255, 255, 16));

    drawEmblem(p, QRectF(36, 45, 160, 160));

    const QRectF textArea(222, 62, 256, 130);
    QFont title = font("URW Gothic", 68, QFont::DemiBold, {"DejaVu Sans"});
    for (qreal px = 68; px > 20; px -= 1) {
        title.setPixelSize(int(px));
        if (QFontMetricsF(title).horizontalAdvance("Fauntome") <= textArea.width())
            break;
    }
    const QFontMetricsF tm(title);
    const qreal baseline = 128;
    p.setFont(title);
    p.setPen(QColor(0, 0, 0, 60));
    p.drawText(QPointF(textArea.left() + 1.5, baseline + 2.5), "Fauntome");
    p.setPen(kCream);
    p.drawText(QPointF(textArea.left(), baseline), "Fauntome");
    const qreal titleW = tm.horizontalAdvance("Fauntome");

    p.setPen(QPen(kAmber, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(textArea.left() + 3, baseline + 18), QPointF(textArea.left() + titleW * 0.42, baseline + 18));
    p.setPen(Qt::NoPen);
    p.setBrush(kAmber);
    p.drawEllipse(QPointF(textArea.left() + titleW * 0.42 + 9, baseline + 18), 2.2, 2.2);

    QFont tag = font("Nimbus Sans", 17, QFont::Normal, {"DejaVu Sans"});
    p.setFont(tag);
    p.setPen(QColor(0xFF, 0xE2, 0xB0));
    p.drawText(QPointF(textArea.left() + 2, baseline + 46), "The encyclopedia of Faunlets");

    QFont small = font("Nimbus Sans", 11, QFont::Normal, {"DejaVu Sans"});
    p.setFont(small);
    p.setPen(QColor(255, 255, 255, 150));
    p.drawText(QRectF(0, 222, 486, 20), Qt::AlignRight | Qt::AlignVCenter, "Discover \u00b7 Collect \u00b7 Team up");
    p.end();
    return dithered(img);
}

QImage makeBackground()
{
    QImage img = canvas(511, 371);
    QPainter p(&img);
    p.setRenderHints(QPainter::Antialiasing);
    const QPointF c(255.5, 185.5);

    // Elliptical halo that fades out before every edge, so no border shows.
    p.save();
    p.translate(c);
    p.scale(1.0, 371.0 / 511.0);
    QRadialGradient halo(QPointF(0, 0), 255);
    halo.setColorAt(0, withAlpha(kCream, 150));
    halo.setColorAt(0.6, withAlpha(kCream, 70));
    halo.setColorAt(1, withAlpha(kCream, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(QPointF(0, 0), 256, 256);
    p.restore();

    // A faded emblem watermark.
    QImage mark = canvas(240, 240);
    {
        QPainter mp(&mark);
        prepare(mp, mark, 100, 100);
        drawEmblem(mp, QRectF(1, 1, 98, 98));
    }
    p.setOpacity(0.13);
    p.drawImage(QPointF(c.x() - 120, c.y() - 120), mark);
    p.setOpacity(1);

    p.setPen(QPen(withAlpha(kDeepTeal, 40), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 160, 160);
    // Laurel of leaves along the lower ring, like a crest.
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(kDeepTeal, 34));
    const qreal ring = 160;
    for (int side = -1; side <= 1; side += 2) {
        for (int i = 0; i < 7; ++i) {
            const qreal deg = 100 + i * 14;
            const qreal a = qDegreesToRadians(deg);
            const QPointF on(c.x() + side * ring * std::cos(a) * -1, c.y() + ring * std::sin(a));
            const qreal ahead = qDegreesToRadians(deg + 12);
            const QPointF next(c.x() + side * ring * std::cos(ahead) * -1, c.y() + ring * std::sin(ahead));
            const qreal len = 26 - i * 1.6;
            const QPointF dir = (next - on) / std::hypot(next.x() - on.x(), next.y() - on.y());
            const QPointF out = (on - c) / ring;
            p.drawPath(leafPath(on, on + dir * len + out * len * 0.55, len * 0.26));
            p.drawPath(leafPath(on, on + dir * len - out * len * 0.45, len * 0.24));
        }
    }
    return img;
}

// A small fire lizard with ember spines, drawn in full colour on a 100-unit grid.
void drawEmberlisk(QPainter& p)
{
    const QColor outline(0xA8, 0x3A, 0x17);
    const QColor skin(0xEC, 0x63, 0x2E);
    const QColor skinLight(0xF7, 0x8E, 0x4E);
    const QColor belly(0xFF, 0xD9, 0x9A);
    const QColor far(0xC9, 0x4B, 0x20);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x8A, 0x5A, 0x3A, 60));
    p.drawEllipse(QPointF(50, 89.5), 40, 3.6);

    auto leg = [&](QPointF hip, QPointF foot, const QColor& c) {
        QPainterPath l(hip);
        l.lineTo(foot);
        QPainterPathStroker s;
        s.setWidth(6.2);
        s.setCapStyle(Qt::RoundCap);
        s.setJoinStyle(Qt::RoundJoin);
        QPainterPath shape = s.createStroke(l);
        for (int i = -1; i <= 1; ++i) {
            QPainterPath toe;
            toe.addEllipse(foot + QPointF(i * 2.6 - 0.8, 1.4), 2.0, 1.5);
            shape = shape.united(toe);
        }
        p.setPen(QPen(outline, 0.9));
        p.setBrush(c);
        p.drawPath(shape.simplified());
    };
    // Far-side legs first.
    leg(QPointF(38, 72), QPointF(42, 85), far);
    leg(QPointF(62, 72), QPointF(68, 85), far);

    QPainterPath tail(QPointF(60, 62));
    tail.cubicTo(QPointF(76, 60), QPointF(86, 56), QPointF(87, 42));
    tail.cubicTo(QPointF(93, 58), QPointF(80, 76), QPointF(60, 76));
    tail.closeSubpath();

    QPainterPath body(QPointF(27, 59));
    body.cubicTo(QPointF(36, 49), QPointF(58, 49), QPointF(68, 61));
    body.cubicTo(QPointF(73, 69), QPointF(66, 78), QPointF(55, 78));
    body.cubicTo(QPointF(43, 80), QPointF(32, 76), QPointF(28, 70));
    body.closeSubpath();

    QPainterPath head(QPointF(33, 55));
    head.cubicTo(QPointF(29, 43), QPointF(14, 41), QPointF(8.5, 51));
    head.cubicTo(QPointF(5.5, 56), QPointF(6.5, 62), QPointF(12, 64));
    head.cubicTo(QPointF(19, 67), QPointF(29, 68), QPointF(35, 65));
    head.closeSubpath();

    const QPainterPath whole = tail.united(body).united(head).simplified();
    auto topAt = [&whole](qreal x) {
        for (qreal y = 20; y < 90; y += 0.25)
            if (whole.contains(QPointF(x, y)))
                return y;
        return qreal(90);
    };

    // Ember spines along the back, from nape to tail.
    const qreal spineX[] = {27, 33.5, 40, 46.5, 53, 59.5, 66, 72.5};
    const qreal spineH[] = {8.5, 11.5, 13, 14, 13.5, 12, 10.5, 8.5};
    for (int i = 0; i < 8; ++i) {
        const QPointF base(spineX[i], topAt(spineX[i]) + 1.5);
        const qreal h = spineH[i];
        const qreal w = h * 0.58;
        const QPointF tip = base + QPointF(h * 0.32, -h);
        QPainterPath flame(base + QPointF(-w / 2, 2));
        flame.cubicTo(base + QPointF(-w * 0.6, -h * 0.5), tip + QPointF(-w * 0.3, h * 0.4), tip);
        flame.cubicTo(tip + QPointF(w * 0.05, h * 0.35), base + QPointF(w * 0.7, -h * 0.35), base + QPointF(w / 2, 2));
        flame.closeSubpath();
        QLinearGradient g(base, tip);
        g.setColorAt(0, QColor(0xF0, 0x5A, 0x1E));
        g.setColorAt(0.55, QColor(0xFF, 0x9E, 0x2C));
        g.setColorAt(1, QColor(0xFF, 0xE0, 0x6A));
        p.setPen(QPen(outline, 0.8));
        p.setBrush(g);
        p.drawPath(flame);
        QPainterPath core(base + QPointF(-w * 0.15, 1));
        core.quadTo(base + QPointF(0, -h * 0.4), tip + QPointF(-w * 0.1, h * 0.45));
        core.quadTo(base + QPointF(w * 0.3, -h * 0.2), base + QPointF(w * 0.2, 1));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xFF, 0xF1, 0xB0, 200));
        p.drawPath(core);
    }

    // Flame at the tail tip.
    {
        const QPointF base(87, 44);
        QPainterPath flame(base + QPointF(-4, 3));
        flame.cubicTo(QPointF(80, 34), QPointF(88, 30), QPointF(86, 23));
        flame.cubicTo(QPointF(92, 28), QPointF(96, 38), QPointF(90, 46));
        flame.closeSubpath();
        QLinearGradient g(base, QPointF(86, 23));
        g.setColorAt(0, QColor(0xF0, 0x5A, 0x1E));
        g.setColorAt(0.5, QColor(0xFF, 0x9E, 0x2C));
        g.setColorAt(1, QColor(0xFF, 0xE0, 0x6A));
        p.setPen(QPen(outline, 0.8));
        p.setBrush(g);
        p.drawPath(flame);
    }

    QLinearGradient sg(QPointF(0, 42), QPointF(0, 80));
    sg.setColorAt(0, skinLight);
    sg.setColorAt(1, skin);
    p.setPen(Qt::NoPen);
    p.setBrush(sg);
    p.drawPath(whole);

    p.save();
    p.setClipPath(whole);
    p.setBrush(belly);
    p.drawEllipse(QPointF(46, 79), 22, 7.5);
    p.drawEllipse(QPointF(20, 67.5), 11, 4.2);
    // Scale dots along the flank.
    p.setBrush(withAlpha(QColor(0xFF, 0xC2, 0x7A), 150));
    const QPointF dots[] = {{42, 60}, {48, 58}, {54, 60}, {60, 63}, {45, 66}, {52, 66}, {71, 64}, {77, 61}};
    for (const QPointF& d : dots)
        p.drawEllipse(d, 1.6, 1.3);
    p.restore();

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(outline, 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(whole);

    // Near-side legs over the body.
    leg(QPointF(33, 70), QPointF(31, 86), skin);
    leg(QPointF(58, 71), QPointF(60, 86), skin);

    // Face.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(20, 51.5), 4.6, 4.9);
    p.setBrush(QColor(0x3A, 0x1A, 0x10));
    p.drawEllipse(QPointF(19.2, 52), 3.1, 3.6);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(18.2, 50.6), 1.2, 1.2);
    p.setPen(QPen(outline, 1.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(14.6, 45.4, 11, 6), 30 * 16, 120 * 16);
    QPainterPath mouth(QPointF(9.5, 59.5));
    mouth.cubicTo(QPointF(13, 61.5), QPointF(18, 61.5), QPointF(21, 59.8));
    p.drawPath(mouth);
    p.setPen(Qt::NoPen);
    p.setBrush(outline);
    p.drawEllipse(QPointF(10.3, 53.8), 0.8, 0.6);
    p.setBrush(QColor(0xFF, 0x7A, 0x7A, 120));
    p.drawEllipse(QPointF(25, 58.5), 3, 1.8);

    // Drifting embers.
    p.setBrush(QColor(0xFF, 0xA8, 0x30, 200));
    const QPointF embers[] = {{40, 30}, {52, 27}, {47, 20}, {63, 31}, {92, 16}, {33, 34}};
    const qreal er[] = {1.3, 1.0, 0.8, 1.1, 1.0, 0.8};
    for (int i = 0; i < 6; ++i)
        p.drawEllipse(embers[i], er[i], er[i]);
}

QImage makeEmberlisk()
{
    QImage art = canvas(230, 230);
    {
        QPainter p(&art);
        p.setRenderHints(QPainter::Antialiasing);
        // Creature sits low so it reads as standing on the list's bottom edge.
        p.translate(6, 14);
        p.scale(2.18, 2.18);
        drawEmberlisk(p);
    }
    // Faded so bold list text stays readable on top of it.
    QImage img = canvas(230, 230);
    QPainter p(&img);
    p.setOpacity(0.36);
    p.drawImage(0, 0, art);
    return img;
}

QImage makeExit()
{
    QImage img = canvas(32, 32);
    QPainter p(&img);
    p.setRenderHints(QPainter::Antialiasing);
    // Door frame and open leaf.
    p.setPen(QPen(kDeepTeal, 2.2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF(
        {QPointF(17, 9), QPointF(17, 4.1), QPointF(5.1, 4.1), QPointF(5.1, 27.9), QPointF(17, 27.9), QPointF(17, 23)}));
    QPainterPath leaf;
    leaf.moveTo(5.1, 4.1);
    leaf.lineTo(13.5, 7);
    leaf.lineTo(13.5, 30.5);
    leaf.lineTo(5.1, 27.9);
    leaf.closeSubpath();
    QLinearGradient lg(5, 0, 14, 0);
    lg.setColorAt(0, kDeepTeal);
    lg.setColorAt(1, kTeal);
    p.setPen(QPen(kDeepTeal, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(lg);
    p.drawPath(leaf);
    p.setPen(Qt::NoPen);
    p.setBrush(kCream);
    p.drawEllipse(QPointF(11.6, 18), 1.1, 1.1);
    // Arrow out.
    QPainterPath arrow;
    arrow.moveTo(15, 14);
    arrow.lineTo(22, 14);
    arrow.lineTo(22, 9.5);
    arrow.lineTo(30.5, 16);
    arrow.lineTo(22, 22.5);
    arrow.lineTo(22, 18);
    arrow.lineTo(15, 18);
    arrow.closeSubpath();
    p.setPen(QPen(kDeepAmber, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QLinearGradient ag(0, 9, 0, 23);
    ag.setColorAt(0, QColor(0xFF, 0xC2, 0x5A));
    ag.setColorAt(1, kAmber);
    p.setBrush(ag);
    p.drawPath(arrow);
    return img;
}

QImage makeAbout()
{
    QImage img = canvas(32, 32);
    QPainter p(&img);
    p.setRenderHints(QPainter::Antialiasing);
    QRadialGradient g(QPointF(12, 10), 22);
    g.setColorAt(0, kTeal);
    g.setColorAt(1, kDeepTeal);
    p.setPen(QPen(kDeepTeal.darker(120), 1));
    p.setBrush(g);
    p.drawEllipse(QPointF(16, 16), 14.5, 14.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kCream);
    p.drawEllipse(QPointF(16, 9.3), 2.3, 2.3);
    QPainterPath stem;
    stem.moveTo(13, 13.5);
    stem.lineTo(18, 13.5);
    stem.lineTo(18, 23);
    stem.lineTo(20, 23);
    stem.lineTo(20, 25.5);
    stem.lineTo(12.5, 25.5);
    stem.lineTo(12.5, 23);
    stem.lineTo(14.5, 23);
    stem.lineTo(14.5, 16);
    stem.lineTo(13, 16);
    stem.closeSubpath();
    p.drawPath(stem);
    return img;
}

enum class Badge { None, Folder, Floppy };

QImage makePersonIcon(Badge badge)
{
    QImage img = canvas(256, 256);
    QPainter p(&img);
    prepare(p, img, 100, 100);
    const QRectF person = badge == Badge::None ? QRectF(12, 4, 76, 92) : QRectF(3, 2, 70, 86);
    drawPerson(p, person, kPersonTop, kPersonBottom, 3.2);
    if (badge == Badge::Folder)
        drawFolderBadge(p, QRectF(50, 50, 48, 46), 4);
    else if (badge == Badge::Floppy)
        drawFloppyBadge(p, QRectF(54, 52, 44, 44), 4);
    return img;
}

QImage makeTeamIcon(Badge badge)
{
    QImage img = canvas(128, 128);
    QPainter p(&img);
    prepare(p, img, 100, 100);
    const QRectF group = badge == Badge::None ? QRectF(2, 6, 96, 90) : QRectF(1, 2, 84, 82);
    drawTeam(p, group, 3.4);
    if (badge == Badge::Folder)
        drawFolderBadge(p, QRectF(50, 52, 48, 44), 4.5);
    else if (badge == Badge::Floppy)
        drawFloppyBadge(p, QRectF(56, 54, 42, 42), 4.5);
    return img;
}

QImage makeKid(bool girl)
{
    QImage img = canvas(128, 128);
    QPainter p(&img);
    prepare(p, img, 100, 100);
    p.setPen(Qt::NoPen);

    QRadialGradient bg(QPointF(38, 30), 80);
    if (girl) {
        bg.setColorAt(0, QColor(0xFF, 0xB8, 0x8A));
        bg.setColorAt(1, QColor(0xE0, 0x66, 0x4A));
    } else {
        bg.setColorAt(0, kTeal);
        bg.setColorAt(1, kDeepTeal);
    }
    p.setBrush(bg);
    p.drawEllipse(QPointF(50, 50), 48, 48);

    QPainterPath disc;
    disc.addEllipse(QPointF(50, 50), 48, 48);
    p.save();
    p.setClipPath(disc);

    const QColor skin(0xFC, 0xDD, 0xC2);
    const QColor hair = girl ? QColor(0x7A, 0x3E, 0x1C) : QColor(0x4A, 0x2C, 0x18);
    const QColor shirt = girl ? kCream : QColor(0xFF, 0xD0, 0x7A);

    if (girl) {
        // Long hair behind the head.
        QPainterPath back;
        back.moveTo(25, 78);
        back.cubicTo(18, 50, 26, 20, 50, 20);
        back.cubicTo(74, 20, 82, 50, 75, 78);
        back.closeSubpath();
        p.setBrush(hair);
        p.drawPath(back);
    }
    // Shoulders.
    QPainterPath body;
    body.moveTo(16, 100);
    body.cubicTo(16, 80, 30, 74, 50, 74);
    body.cubicTo(70, 74, 84, 80, 84, 100);
    body.closeSubpath();
    p.setBrush(shirt);
    p.drawPath(body);
    p.setBrush(skin.darker(108));
    p.drawRect(QRectF(44, 64, 12, 12));

    p.setBrush(skin);
    p.drawEllipse(QPointF(50, 47), 21, 23);
    p.drawEllipse(QPointF(29.5, 50), 4, 5);
    p.drawEllipse(QPointF(70.5, 50), 4, 5);

    p.setBrush(hair);
    if (girl) {
        QPainterPath fringe;
        fringe.moveTo(28, 46);
        fringe.cubicTo(27, 28, 38, 22, 50, 22);
        fringe.cubicTo(62, 22, 74, 28, 72, 46);
        fringe.cubicTo(64, 40, 58, 33, 55, 30);
        fringe.cubicTo(48, 38, 38, 41, 28, 46);
        fringe.closeSubpath();
        p.drawPath(fringe);
        // Bow.
        p.setBrush(kAmber);
        p.drawPath(leafPath(QPointF(68, 28), QPointF(78, 20), 4.5));
        p.drawPath(leafPath(QPointF(68, 28), QPointF(72, 38), 4.5));
        p.setBrush(kDeepAmber);
        p.drawEllipse(QPointF(68, 28), 2.6, 2.6);
    } else {
        QPainterPath cut;
        cut.moveTo(28.5, 46);
        cut.cubicTo(26, 26, 38, 21, 50, 21);
        cut.cubicTo(64, 21, 75, 27, 71.5, 46);
        cut.cubicTo(69, 38, 66, 35, 62, 33);
        cut.cubicTo(54, 37, 42, 37, 38, 33);
        cut.cubicTo(33, 36, 30, 40, 28.5, 46);
        cut.closeSubpath();
        p.drawPath(cut);
        p.drawPath(leafPath(QPointF(46, 23), QPointF(52, 13), 3));
    }

    p.setBrush(kInk);
    p.drawEllipse(QPointF(42, 50), 2.6, 3.2);
    p.drawEllipse(QPointF(58, 50), 2.6, 3.2);
    p.setBrush(QColor(0xF2, 0x8C, 0x6A, 110));
    p.drawEllipse(QPointF(37, 57), 3.6, 2.2);
    p.drawEllipse(QPointF(63, 57), 3.6, 2.2);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xB0, 0x4A, 0x3A), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(44, 52, 12, 9), 200 * 16, 140 * 16);
    p.restore();

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 170), 2));
    p.drawEllipse(QPointF(50, 50), 47, 47);
    return img;
}

void paintSoftLeaves(QPainter& p, const QRectF& area, const QColor& c, bool mirrored)
{
    p.save();
    if (mirrored) {
        p.translate(area.center().x() * 2, 0);
        p.scale(-1, 1);
    }
    drawSprig(p, QPointF(area.left() - 20, area.bottom() + 10), -52, area.height() * 0.62, c);
    drawSprig(p, QPointF(area.left() + area.width() * 0.12, area.bottom() + 18), -74, area.height() * 0.45,
              withAlpha(c, c.alpha() * 2 / 3));
    p.restore();
}

QImage makeFaunback()
{
    QImage img = deepCanvas(848, 472);
    QPainter p(&img);
    p.setRenderHints(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 0, 472);
    bg.setColorAt(0, QColor(0xFC, 0xFA, 0xF4));
    bg.setColorAt(1, QColor(0xF1, 0xF5, 0xF1));
    p.fillRect(img.rect(), bg);

    // Quiet decoration stays on the left so the right half remains plain.
    QRadialGradient warm(QPointF(120, 380), 320);
    warm.setColorAt(0, QColor(0xF2, 0xA3, 0x3A, 36));
    warm.setColorAt(1, QColor(0xF2, 0xA3, 0x3A, 0));
    p.fillRect(img.rect(), warm);
    QRadialGradient cool(QPointF(700, 40), 380);
    cool.setColorAt(0, QColor(0x05, 0xB8, 0xCC, 22));
    cool.setColorAt(1, QColor(0x05, 0xB8, 0xCC, 0));
    p.fillRect(img.rect(), cool);

    paintSoftLeaves(p, QRectF(0, 120, 380, 352), withAlpha(kDeepTeal, 20), false);

    // Two soft waves along the bottom.
    QPainterPath wave(QPointF(0, 440));
    wave.cubicTo(QPointF(220, 410), QPointF(520, 470), QPointF(848, 432));
    wave.lineTo(848, 472);
    wave.lineTo(0, 472);
    wave.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x05, 0xB8, 0xCC, 22));
    p.drawPath(wave);
    QPainterPath wave2(QPointF(0, 456));
    wave2.cubicTo(QPointF(260, 440), QPointF(600, 476), QPointF(848, 452));
    wave2.lineTo(848, 472);
    wave2.lineTo(0, 472);
    wave2.closeSubpath();
    p.setBrush(QColor(0x0B, 0x6E, 0x7A, 22));
    p.drawPath(wave2);
    p.setPen(QPen(QColor(0xF2, 0xA3, 0x3A, 70), 1.2));
    p.setBrush(Qt::NoBrush);
    QPainterPath line(QPointF(0, 448));
    line.cubicTo(QPointF(240, 424), QPointF(560, 474), QPointF(848, 442));
    p.drawPath(line);
    p.end();
    return dithered(img);
}

QImage makeFaunback2()
{
    QImage img = deepCanvas(591, 472);
    QPainter p(&img);
    p.setRenderHints(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 591, 472);
    bg.setColorAt(0, QColor(0xF2, 0xF8, 0xF6));
    bg.setColorAt(1, QColor(0xFC, 0xF8, 0xEF));
    p.fillRect(img.rect(), bg);

    QRadialGradient warm(QPointF(560, 450), 300);
    warm.setColorAt(0, QColor(0xF2, 0xA3, 0x3A, 40));
    warm.setColorAt(1, QColor(0xF2, 0xA3, 0x3A, 0));
    p.fillRect(img.rect(), warm);

    paintSoftLeaves(p, QRectF(211, 160, 380, 312), withAlpha(kDeepTeal, 18), true);
    drawSprig(p, QPointF(-10, 70), 18, 160, withAlpha(kDeepTeal, 14));

    p.setPen(QPen(QColor(0x05, 0xB8, 0xCC, 40), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(520, 70), 36, 36);
    p.drawEllipse(QPointF(520, 70), 52, 52);
    p.end();
    return dithered(img);
}

// ----------------------------------------------------------- type badges ---

struct TypeInfo
{
    const char* name;
    QColor colour;
};

// 5x7 capitals drawn pixel by pixel so they stay crisp at 13 px high.
const char* glyph(char c)
{
    switch (c) {
    case 'A':
        return ".###.#...##...#######...##...##...#";
    case 'B':
        return "####.#...##...#####.#...##...#####.";
    case 'C':
        return ".#####....#....#....#....#.....####";
    case 'D':
        return "####.#...##...##...##...##...#####.";
    case 'E':
        return "######....#....####.#....#....#####";
    case 'F':
        return "######....#....####.#....#....#....";
    case 'G':
        return ".#####....#....#..###...##...#.####";
    case 'H':
        return "#...##...##...#######...##...##...#";
    case 'I':
        return "#####..#....#....#....#....#..#####";
    case 'K':
        return "#...##..#.#.#..##...#.#..#..#.#...#";
    case 'L':
        return "#....#....#....#....#....#....#####";
    case 'M':
        return "#...###.###.#.##.#.##...##...##...#";
    case 'N':
        return "#...###..##.#.##..###...##...##...#";
    case 'O':
        return ".###.#...##...##...##...##...#.###.";
    case 'P':
        return "####.#...##...#####.#....#....#....";
    case 'R':
        return "####.#...##...#####.#.#..#..#.#...#";
    case 'S':
        return ".#####....#.....###.....#....#####.";
    case 'T':
        return "#####..#....#....#....#....#....#..";
    case 'U':
        return "#...##...##...##...##...##...#.###.";
    case 'W':
        return "#...##...##...##.#.##.#.###.###...#";
    case 'Y':
        return "#...##...#.#.#...#....#....#....#..";
    default:
        return "...................................";
    }
}

QImage makeTypeBadge(const TypeInfo& t)
{
    const int W = 57;
    const int H = 13;
    QImage img(W, H, QImage::Format_RGB32);
    img.fill(QColor(0xFC, 0xFA, 0xF4));
    QPainter p(&img);
    p.setRenderHints(QPainter::Antialiasing);

    const QRectF pill(0.5, 0.5, W - 1, H - 1);
    QLinearGradient g(0, 0, 0, H);
    g.setColorAt(0, t.colour.lighter(118));
    g.setColorAt(1, t.colour.darker(108));
    p.setPen(QPen(t.colour.darker(135), 1));
    p.setBrush(g);
    p.drawRoundedRect(pill, 6, 6);
    p.setPen(QPen(QColor(255, 255, 255, 70), 1));
    p.drawLine(QPointF(5, 1.5), QPointF(W - 5, 1.5));

    const QString label = QString::fromLatin1(t.name).toUpper();
    const QColor shadow = withAlpha(t.colour.darker(170), 150);

    // Hinted DejaVu Sans Bold is crisp at this size; the built-in pixel font
    // keeps badges legible where that face is missing.
    QFont f = font("DejaVu Sans", 8, QFont::Bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    if (QFontInfo(f).family() == "DejaVu Sans") {
        p.setFont(f);
        const QRect box(0, 0, W, H);
        p.setPen(shadow);
        p.drawText(box.translated(0, 1), Qt::AlignCenter, label);
        p.setPen(Qt::white);
        p.drawText(box, Qt::AlignCenter, label);
        return img;
    }

    const int n = int(label.size());
    const int textW = n * 6 - 1;
    const int x0 = (W - textW) / 2;
    const int y0 = 3;
    for (int pass = 0; pass < 2; ++pass) {
        const QColor c = pass == 0 ? shadow : QColor(Qt::white);
        const int dy = pass == 0 ? 1 : 0;
        for (int i = 0; i < n; ++i) {
            const char* bits = glyph(label.at(i).toLatin1());
            for (int y = 0; y < 7; ++y)
                for (int x = 0; x < 5; ++x)
                    if (bits[y * 5 + x] != '.')
                        p.fillRect(QRect(x0 + i * 6 + x, y0 + y + dy, 1, 1), c);
        }
    }
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fauntome_genimages <resources-dir>\n");
        return 2;
    }
    const QString root = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    auto image = [&root](const QString& name) { return root + "/images/" + name; };

    save(makeSplash(), image("splash.png"), true);
    save(makeBackground(), image("background.png"));
    save(makeEmberlisk(), image("emberlisk.png"));
    save(makeExit(), image("exit.png"));
    save(makeAbout(), image("about.png"));
    save(makePersonIcon(Badge::Folder), image("owner_open.png"));
    save(makePersonIcon(Badge::None), image("avatar.png"));
    save(makePersonIcon(Badge::Floppy), image("owner_save.png"));
    save(makeTeamIcon(Badge::None), image("team.png"));
    save(makeTeamIcon(Badge::Folder), image("team_load.png"));
    save(makeTeamIcon(Badge::Floppy), image("team_save.png"));
    saveIco(makeEmblemImage(224), image("icon.ico"));
    // The same emblem at the icon theme's sizes, for the menu entry.
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        save(makeEmblemImage(size), root + QStringLiteral("/desktop/hicolor/%1x%1/apps/fauntome.png").arg(size));
    save(makeFaunback(), image("faunback.png"), true);
    save(makeFaunback2(), image("faunback2.png"), true);
    save(makeKid(false), image("boy.png"));
    save(makeKid(true), image("girl.png"));

    const TypeInfo types[] = {
        {"bug", QColor(0x8C, 0xA8, 0x1E)},      {"dark", QColor(0x55, 0x4A, 0x44)},
        {"dragon", QColor(0x5A, 0x48, 0xD8)},   {"electric", QColor(0xD4, 0x9A, 0x00)},
        {"fighting", QColor(0xB8, 0x34, 0x2C)}, {"fire", QColor(0xEE, 0x6A, 0x24)},
        {"flying", QColor(0x6C, 0x86, 0xDA)},   {"ghost", QColor(0x6E, 0x56, 0x9C)},
        {"grass", QColor(0x46, 0xA6, 0x3C)},    {"ground", QColor(0xBA, 0x8C, 0x4A)},
        {"ice", QColor(0x2C, 0xAC, 0xC8)},      {"normal", QColor(0x90, 0x8C, 0x74)},
        {"poison", QColor(0x9A, 0x44, 0xB8)},   {"psychic", QColor(0xE8, 0x4C, 0x84)},
        {"rock", QColor(0xA4, 0x94, 0x5C)},     {"steel", QColor(0x6C, 0x94, 0xA8)},
        {"water", QColor(0x34, 0x84, 0xE4)},
    };
    for (const TypeInfo& t : types)
        save(makeTypeBadge(t), root + "/types/" + t.name + ".png", true);

    return g_ok ? 0 : 1;
}
