#include <QColor>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QString>
#include <QStringList>
#include <QTransform>
#include <QXmlStreamReader>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <vector>

#include "portraits.h"
#include "splitmix.h"

namespace {

using portraits::Entry;

// The viewer shows a portrait unscaled, left-aligned and vertically centred
// in its 231x231 picture label: at the label's size, the canvas's pixels are
// the label's own, with no offset to work out.
constexpr int kCanvas = 231;
// The label reaches over the end of the description (left of x 32) and over
// the evolution and type rows (from y 170 down); the creature stays in the
// rest, and the canvas around it is pure white, which the viewer shows
// transparent.
const QRect kClear(QPoint(32, 0), QPoint(230, 169));
// The creatures are modelled in a square of this size, then scaled to fit.
constexpr int kModel = 200;

// ---------------------------------------------------------------- randomness

struct Rng : SplitMix
{
    using SplitMix::SplitMix;
    double range(double lo, double hi) { return lo + (hi - lo) * unit(); }
    int pick(int n) { return int(next() % quint64(n)); }
    bool chance(double p) { return unit() < p; }
};

quint64 nameHash(const QString& name)
{
    quint64 h = 0xCBF29CE484222325ULL;
    for (char c : name.toLower().toUtf8()) {
        h ^= quint8(c);
        h *= 0x100000001B3ULL;
    }
    return h;
}

// ---------------------------------------------------------------- types

enum class Type {
    Bug,
    Dark,
    Dragon,
    Electric,
    Fighting,
    Fire,
    Flying,
    Ghost,
    Grass,
    Ground,
    Ice,
    Normal,
    Poison,
    Psychic,
    Rock,
    Steel,
    Water
};

Type typeOf(const QString& word)
{
    static const char* const words[]
        = {"bug",    "dark", "dragon", "electric", "fighting", "fire", "flying", "ghost", "grass",
           "ground", "ice",  "normal", "poison",   "psychic",  "rock", "steel",  "water"};
    const QString lower = word.toLower();
    for (int i = 0; i < 17; ++i)
        if (lower == QLatin1String(words[i]))
            return Type(i);
    return Type::Normal;
}

struct Palette
{
    QColor body;
    QColor accent;
};

Palette paletteOf(Type t)
{
    switch (t) {
    case Type::Bug:
        return {QColor(0xA8, 0xC8, 0x3A), QColor(0x5E, 0x86, 0x1C)};
    case Type::Dark:
        return {QColor(0x62, 0x58, 0x78), QColor(0xE0, 0x5A, 0x7A)};
    case Type::Dragon:
        return {QColor(0x5C, 0x74, 0xE0), QColor(0xF0, 0xC2, 0x4A)};
    case Type::Electric:
        return {QColor(0x7C, 0xD4, 0xF0), QColor(0xFF, 0xC2, 0x3A)};
    case Type::Fighting:
        return {QColor(0xD6, 0x6A, 0x48), QColor(0xF4, 0xE4, 0xC8)};
    case Type::Fire:
        return {QColor(0xF5, 0x7A, 0x3C), QColor(0xFF, 0xCF, 0x4A)};
    case Type::Flying:
        return {QColor(0x96, 0xB6, 0xF0), QColor(0xFF, 0xF2, 0xC8)};
    case Type::Ghost:
        return {QColor(0x9A, 0x86, 0xD6), QColor(0x6C, 0xE0, 0xD8)};
    case Type::Grass:
        return {QColor(0x6C, 0xC8, 0x6A), QColor(0xF2, 0x8C, 0xB0)};
    case Type::Ground:
        return {QColor(0xD6, 0xA8, 0x62), QColor(0x8A, 0x62, 0x36)};
    case Type::Ice:
        return {QColor(0xA6, 0xE2, 0xF2), QColor(0x4E, 0x9C, 0xD6)};
    case Type::Normal:
        return {QColor(0xEA, 0xCB, 0xA4), QColor(0xB8, 0x86, 0x5A)};
    case Type::Poison:
        return {QColor(0xAE, 0x6C, 0xD0), QColor(0x9C, 0xE0, 0x50)};
    case Type::Psychic:
        return {QColor(0xF4, 0x86, 0xBA), QColor(0x7A, 0x5C, 0xE8)};
    case Type::Rock:
        return {QColor(0xB8, 0xA4, 0x7C), QColor(0x78, 0x6A, 0x50)};
    case Type::Steel:
        return {QColor(0xB2, 0xBC, 0xCA), QColor(0x5A, 0x8C, 0xC8)};
    case Type::Water:
        return {QColor(0x56, 0xA8, 0xE6), QColor(0xFF, 0xF0, 0xC8)};
    }
    return {QColor(0xEA, 0xCB, 0xA4), QColor(0xB8, 0x86, 0x5A)};
}

// ---------------------------------------------------------------- colour helpers

QColor mix(const QColor& a, const QColor& b, qreal t)
{
    return QColor::fromRgbF(
        float(a.redF() + (b.redF() - a.redF()) * t), float(a.greenF() + (b.greenF() - a.greenF()) * t),
        float(a.blueF() + (b.blueF() - a.blueF()) * t), float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QColor alpha(QColor c, int a)
{
    c.setAlpha(a);
    return c;
}

QColor shiftHue(const QColor& c, qreal degrees, qreal satScale, qreal valScale)
{
    float h, s, v, a;
    c.getHsvF(&h, &s, &v, &a);
    if (h < 0)
        return QColor::fromHsvF(0, 0, float(std::clamp(v * valScale, 0.0, 1.0)), a);
    qreal nh = std::fmod(h + degrees / 360.0 + 1.0, 1.0);
    return QColor::fromHsvF(float(nh), float(std::clamp(s * satScale, 0.0, 1.0)),
                            float(std::clamp(v * valScale, 0.0, 1.0)), a);
}

const QColor kInk(0x2A, 0x22, 0x30);
const QColor kWhite(255, 255, 255);
const QColor kCream(0xFF, 0xF6, 0xE6);

QColor lineFor(const QColor& fill)
{
    return mix(fill.darker(230), kInk, 0.45);
}

// ---------------------------------------------------------------- geometry helpers

QPointF onEllipse(QPointF c, qreal rx, qreal ry, qreal degFromUp)
{
    const qreal a = qDegreesToRadians(degFromUp);
    return c + QPointF(rx * std::sin(a), -ry * std::cos(a));
}

QPainterPath ellipse(QPointF c, qreal rx, qreal ry)
{
    QPainterPath p;
    p.addEllipse(c, rx, ry);
    return p;
}

QPointF quadAt(QPointF a, QPointF c, QPointF b, qreal t)
{
    const qreal u = 1 - t;
    return a * (u * u) + c * (2 * u * t) + b * (t * t);
}

// A limb, tail or ghostly trail: a quadratic centre line with a width that
// narrows from w0 to w1, closed with a round tip.
QPainterPath tapered(QPointF a, QPointF c, QPointF b, qreal w0, qreal w1)
{
    constexpr int n = 28;
    QPolygonF left, right;
    for (int i = 0; i <= n; ++i) {
        const qreal t = qreal(i) / n;
        const QPointF p = quadAt(a, c, b, t);
        const QPointF d = (c - a) * (2 * (1 - t)) + (b - c) * (2 * t);
        const qreal len = std::hypot(d.x(), d.y());
        const QPointF nrm = len > 0 ? QPointF(-d.y() / len, d.x() / len) : QPointF(0, 0);
        const qreal w = (w0 + (w1 - w0) * t) / 2;
        left << p + nrm * w;
        right.prepend(p - nrm * w);
    }
    QPainterPath path;
    path.addPolygon(left + right);
    path.closeSubpath();
    path.addEllipse(b, w1 / 2, w1 / 2);
    path.addEllipse(a, w0 / 2, w0 / 2);
    return path.simplified();
}

qreal angleFromUp(QPointF dir)
{
    return qRadiansToDegrees(std::atan2(dir.x(), -dir.y()));
}

// Fills with a soft top-left light and draws the ink outline.
void shaded(QPainter& p, const QPainterPath& path, const QColor& c, qreal lw = 2.4, qreal light = 1.0)
{
    const QRectF r = path.boundingRect();
    const qreal rad = std::max(r.width(), r.height()) * 0.8;
    QRadialGradient g(r.center() + QPointF(-r.width() * 0.2, -r.height() * 0.25), rad);
    g.setColorAt(0, mix(c, kWhite, 0.28 * light));
    g.setColorAt(0.55, c);
    g.setColorAt(1, c.darker(100 + int(22 * light)));
    p.setPen(QPen(lineFor(c), lw, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawPath(path);
}

// Runs draw() with the origin at `at`, rotated so that "up" points `deg`.
template <class F> void placed(QPainter& p, QPointF at, qreal deg, qreal scale, F draw)
{
    p.save();
    p.translate(at);
    p.rotate(deg);
    p.scale(scale, scale);
    draw();
    p.restore();
}

// ---------------------------------------------------------------- shapes (unit size, pointing up)

QPainterPath flamePath(qreal w, qreal h)
{
    QPainterPath f;
    f.moveTo(0, h * 0.12);
    f.cubicTo(-w * 1.05, h * 0.1, -w * 1.0, -h * 0.45, -w * 0.35, -h * 0.62);
    f.cubicTo(-w * 0.45, -h * 0.4, -w * 0.2, -h * 0.35, -w * 0.12, -h * 0.48);
    f.cubicTo(-w * 0.2, -h * 0.75, 0, -h * 0.9, w * 0.1, -h);
    f.cubicTo(w * 0.05, -h * 0.8, w * 0.3, -h * 0.62, w * 0.3, -h * 0.5);
    f.cubicTo(w * 0.45, -h * 0.58, w * 0.6, -h * 0.68, w * 0.55, -h * 0.78);
    f.cubicTo(w * 1.1, -h * 0.45, w * 1.05, h * 0.1, 0, h * 0.12);
    f.closeSubpath();
    return f;
}

void drawFlame(QPainter& p, qreal w, qreal h, bool ghostly = false)
{
    const QColor outer = ghostly ? QColor(0x8E, 0x9C, 0xF4) : QColor(0xF2, 0x5A, 0x2A);
    const QColor mid = ghostly ? QColor(0x9E, 0xE8, 0xF2) : QColor(0xFF, 0x9E, 0x2C);
    const QColor core = ghostly ? QColor(0xE8, 0xFA, 0xFF) : QColor(0xFF, 0xE8, 0x6A);
    QLinearGradient g(0, h * 0.1, 0, -h);
    g.setColorAt(0, mid);
    g.setColorAt(1, outer);
    p.setPen(QPen(lineFor(outer).lighter(120), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawPath(flamePath(w, h));
    p.setPen(Qt::NoPen);
    p.setBrush(core);
    p.drawPath(flamePath(w * 0.5, h * 0.55));
}

QPainterPath leafPath(qreal len, qreal w)
{
    QPainterPath l;
    l.moveTo(0, 0);
    l.cubicTo(w * 1.1, -len * 0.2, w * 0.9, -len * 0.75, 0, -len);
    l.cubicTo(-w * 0.9, -len * 0.75, -w * 1.1, -len * 0.2, 0, 0);
    return l;
}

void drawLeaf(QPainter& p, qreal len, qreal w, const QColor& c = QColor(0x5C, 0xC0, 0x52))
{
    QLinearGradient g(-w, 0, w, -len);
    g.setColorAt(0, c.darker(115));
    g.setColorAt(1, mix(c, kWhite, 0.3));
    p.setPen(QPen(lineFor(c), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawPath(leafPath(len, w));
    p.setPen(QPen(c.darker(150), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, -len * 0.05), QPointF(0, -len * 0.8));
    p.drawLine(QPointF(0, -len * 0.4), QPointF(w * 0.45, -len * 0.55));
    p.drawLine(QPointF(0, -len * 0.4), QPointF(-w * 0.45, -len * 0.55));
}

QPainterPath boltPath(qreal s)
{
    const QPointF pts[]
        = {{0.10, -1.0}, {0.62, -1.0}, {0.28, -0.28}, {0.62, -0.28}, {-0.38, 1.0}, {-0.06, 0.08}, {-0.40, 0.08}};
    QPolygonF poly;
    for (const QPointF& q : pts)
        poly << q * s;
    QPainterPath b;
    b.addPolygon(poly);
    b.closeSubpath();
    return b;
}

void drawBolt(QPainter& p, qreal s)
{
    QLinearGradient g(0, -s, 0, s);
    g.setColorAt(0, QColor(0xFF, 0xF4, 0x8A));
    g.setColorAt(1, QColor(0xFF, 0xC2, 0x1A));
    p.setPen(QPen(QColor(0x9A, 0x6A, 0x10), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawPath(boltPath(s));
}

QPainterPath dropPath(qreal s)
{
    QPainterPath d;
    d.moveTo(0, -s);
    d.cubicTo(s * 0.25, -s * 0.55, s * 0.6, -s * 0.15, s * 0.6, s * 0.25);
    d.cubicTo(s * 0.6, s * 0.6, s * 0.3, s * 0.85, 0, s * 0.85);
    d.cubicTo(-s * 0.3, s * 0.85, -s * 0.6, s * 0.6, -s * 0.6, s * 0.25);
    d.cubicTo(-s * 0.6, -s * 0.15, -s * 0.25, -s * 0.55, 0, -s);
    return d;
}

void drawDrop(QPainter& p, qreal s)
{
    QRadialGradient g(QPointF(-s * 0.2, s * 0.1), s);
    g.setColorAt(0, QColor(0xD8, 0xF2, 0xFF));
    g.setColorAt(1, QColor(0x4A, 0xA2, 0xE8));
    p.setPen(QPen(QColor(0x2A, 0x6A, 0xB0), 1.4));
    p.setBrush(g);
    p.drawPath(dropPath(s));
    p.setPen(Qt::NoPen);
    p.setBrush(alpha(kWhite, 220));
    p.drawEllipse(QPointF(-s * 0.22, s * 0.15), s * 0.13, s * 0.2);
}

void drawSparkle(QPainter& p, qreal s, const QColor& c)
{
    QPainterPath st;
    st.moveTo(0, -s);
    st.quadTo(s * 0.15, -s * 0.15, s, 0);
    st.quadTo(s * 0.15, s * 0.15, 0, s);
    st.quadTo(-s * 0.15, s * 0.15, -s, 0);
    st.quadTo(-s * 0.15, -s * 0.15, 0, -s);
    p.setPen(QPen(c.darker(140), 1.0));
    p.setBrush(c);
    p.drawPath(st);
}

void drawSnowflake(QPainter& p, qreal s)
{
    p.setPen(QPen(QColor(0x6C, 0xB8, 0xE4), 1.8, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 6; ++i) {
        p.save();
        p.rotate(i * 60);
        p.drawLine(QPointF(0, 0), QPointF(0, -s));
        p.drawLine(QPointF(0, -s * 0.55), QPointF(s * 0.28, -s * 0.8));
        p.drawLine(QPointF(0, -s * 0.55), QPointF(-s * 0.28, -s * 0.8));
        p.restore();
    }
}

void drawBubble(QPainter& p, qreal r, const QColor& c)
{
    QRadialGradient g(QPointF(-r * 0.3, -r * 0.3), r * 1.3);
    g.setColorAt(0, mix(c, kWhite, 0.7));
    g.setColorAt(1, c);
    p.setPen(QPen(c.darker(150), 1.4));
    p.setBrush(g);
    p.drawEllipse(QPointF(0, 0), r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(alpha(kWhite, 230));
    p.drawEllipse(QPointF(-r * 0.35, -r * 0.35), r * 0.25, r * 0.25);
}

QPainterPath spikePath(qreal w, qreal h, qreal bend = 0)
{
    QPainterPath s;
    s.moveTo(-w, 0);
    s.quadTo(-w * 0.5 + bend * 0.5, -h * 0.55, bend, -h);
    s.quadTo(w * 0.5 + bend * 0.5, -h * 0.5, w, 0);
    s.closeSubpath();
    return s;
}

void drawCrystal(QPainter& p, qreal w, qreal h)
{
    QPolygonF poly;
    poly << QPointF(-w, 0) << QPointF(-w * 0.8, -h * 0.7) << QPointF(0, -h) << QPointF(w * 0.8, -h * 0.7)
         << QPointF(w, 0);
    QLinearGradient g(-w, 0, w, -h);
    g.setColorAt(0, QColor(0x7C, 0xC8, 0xEC));
    g.setColorAt(1, QColor(0xEC, 0xFA, 0xFF));
    p.setPen(QPen(QColor(0x3C, 0x88, 0xC0), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawPolygon(poly);
    p.setPen(QPen(alpha(kWhite, 200), 1.2));
    p.drawLine(QPointF(-w * 0.3, -h * 0.15), QPointF(-w * 0.3, -h * 0.7));
}

void drawRock(QPainter& p, qreal s, const QColor& c, quint64 seed)
{
    Rng r(seed);
    QPolygonF poly;
    const int n = 7;
    for (int i = 0; i < n; ++i) {
        const qreal a = 2 * M_PI * i / n;
        const qreal rad = s * r.range(0.75, 1.05);
        poly << QPointF(std::sin(a) * rad, -std::cos(a) * rad * 0.8);
    }
    QLinearGradient g(-s, -s, s, s);
    g.setColorAt(0, mix(c, kWhite, 0.3));
    g.setColorAt(1, c.darker(125));
    p.setPen(QPen(lineFor(c), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawPolygon(poly);
    p.setPen(QPen(c.darker(140), 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-s * 0.3, -s * 0.1), QPointF(s * 0.1, s * 0.25));
}

void drawRivetPlate(QPainter& p, qreal w, qreal h)
{
    const QColor steel(0xB8, 0xC2, 0xD0);
    QPainterPath plate;
    plate.addRoundedRect(QRectF(-w, -h, 2 * w, h), w * 0.35, w * 0.35);
    QLinearGradient g(-w, -h, w, 0);
    g.setColorAt(0, QColor(0xF2, 0xF6, 0xFA));
    g.setColorAt(0.5, steel);
    g.setColorAt(1, steel.darker(125));
    p.setPen(QPen(QColor(0x4C, 0x56, 0x66), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawPath(plate);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x6A, 0x74, 0x84));
    p.drawEllipse(QPointF(-w * 0.5, -h * 0.3), 1.6, 1.6);
    p.drawEllipse(QPointF(w * 0.5, -h * 0.3), 1.6, 1.6);
}

// Feathered wing pointing right of the root, mirrored with sx = -1.
void drawFeatherWing(QPainter& p, QPointF root, qreal span, qreal sx, const QColor& c, qreal lift)
{
    p.save();
    p.translate(root);
    p.scale(sx, 1);
    p.rotate(-lift);
    QPainterPath w;
    w.moveTo(0, -span * 0.05);
    w.cubicTo(span * 0.3, -span * 0.55, span * 0.85, -span * 0.7, span * 1.05, -span * 0.55);
    const int feathers = 4;
    QPointF prev(span * 1.05, -span * 0.55);
    for (int i = 1; i <= feathers; ++i) {
        const qreal t = qreal(i) / feathers;
        const QPointF next(span * (1.05 - 0.95 * t), -span * (0.55 - 0.62 * t));
        const QPointF mid = (prev + next) / 2 + QPointF(span * 0.1, span * 0.12);
        w.quadTo(mid, next);
        prev = next;
    }
    w.closeSubpath();
    shaded(p, w, c, 2.2);
    p.setPen(QPen(lineFor(c).lighter(130), 1.2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 1; i < feathers; ++i) {
        const qreal t = qreal(i) / feathers;
        p.drawLine(QPointF(span * 0.15, -span * 0.1),
                   QPointF(span * (1.05 - 0.95 * t) + span * 0.02, -span * (0.55 - 0.62 * t)));
    }
    p.restore();
}

void drawBatWing(QPainter& p, QPointF root, qreal span, qreal sx, const QColor& c, qreal lift)
{
    p.save();
    p.translate(root);
    p.scale(sx, 1);
    p.rotate(-lift);
    const QPointF tip(span, -span * 0.7);
    QPainterPath w;
    w.moveTo(0, 0);
    w.quadTo(span * 0.45, -span * 0.85, tip.x(), tip.y());
    w.quadTo(span * 0.85, -span * 0.2, span * 0.95, span * 0.05);
    w.quadTo(span * 0.7, -span * 0.1, span * 0.6, span * 0.12);
    w.quadTo(span * 0.45, -span * 0.05, span * 0.3, span * 0.15);
    w.quadTo(span * 0.15, 0, 0, span * 0.15);
    w.closeSubpath();
    shaded(p, w, c, 2.2);
    p.setPen(QPen(lineFor(c), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(span * 0.1, -span * 0.1), QPointF(span * 0.95, span * 0.05));
    p.drawLine(QPointF(span * 0.1, -span * 0.1), QPointF(span * 0.6, span * 0.12));
    p.restore();
}

void drawInsectWing(QPainter& p, QPointF root, qreal span, qreal sx, qreal lift)
{
    p.save();
    p.translate(root);
    p.scale(sx, 1);
    p.rotate(-lift);
    const QColor edge(0x7C, 0xA8, 0xC8);
    p.setPen(QPen(edge, 1.6));
    QLinearGradient g(0, 0, span, -span);
    g.setColorAt(0, QColor(0xE4, 0xF6, 0xFF, 235));
    g.setColorAt(1, QColor(0xC8, 0xE8, 0xF8, 235));
    p.setBrush(g);
    p.save();
    p.rotate(55);
    p.drawEllipse(QPointF(0, -span * 0.55), span * 0.28, span * 0.58);
    p.setPen(QPen(edge.lighter(115), 1.0));
    p.drawLine(QPointF(0, -span * 0.1), QPointF(0, -span * 0.95));
    p.restore();
    p.save();
    p.rotate(105);
    p.setPen(QPen(edge, 1.6));
    p.drawEllipse(QPointF(0, -span * 0.38), span * 0.2, span * 0.4);
    p.restore();
    p.restore();
}

// ---------------------------------------------------------------- the creature

enum class Plan { Biped, Quadruped, Blob, Floater };
enum class Ears { Pointed, Round, Long, Floppy, None };
enum class EyeStyle { Round, Iris, Sleepy, Happy };
enum class Mouth { Smile, Cat, Open, Fang, Tiny };
enum class Pattern { None, Spots, Stripes, Mark, Tips };

struct Anchor
{
    QPointF at;
    qreal deg; // outward, clockwise from up
};

struct Anatomy
{
    Plan plan = Plan::Biped;
    QPointF head;
    qreal hrx = 40, hry = 36;
    QPainterPath body;
    QPointF bodyC;
    qreal brx = 30, bry = 28;
    bool separateHead = true;
    QList<QRectF> backLegs, frontLegs; // quadruped legs, as rounded rectangles
    QList<Anchor> feet;                // ellipse feet, angle unused
    QList<Anchor> arms;                // small limbs, deg = tilt
    Anchor tail;
    bool hasTailRoot = true;
    QList<Anchor> back; // spines, plates, leaves
    QPointF wingRoot;
    qreal wingGap = 0;   // distance between the two wing roots
    qreal faceShift = 0; // quadrupeds look a little to the side
    qreal groundY = 168;
    qreal shadowRx = 60;
};

struct Creature
{
    QString name;
    Type primary = Type::Normal;
    Type secondary = Type::Normal;
    bool dual = false;
    int stage = 0; // 0 young, 1 middle, 2 final
    QColor body, accent, belly;
    Plan plan = Plan::Biped;
    Ears ears = Ears::Pointed;
    EyeStyle eyes = EyeStyle::Round;
    Mouth mouth = Mouth::Smile;
    Pattern pattern = Pattern::None;
    bool tail = true;
    bool blush = true;
    bool brows = false;
    qreal headScale = 1;
    quint64 seed = 0;
};

bool has(const Creature& c, Type t)
{
    return c.primary == t || (c.dual && c.secondary == t);
}

// What the second type (or the only one) adds to the body.
Type bodyType(const Creature& c)
{
    return c.dual ? c.secondary : c.primary;
}

Creature describe(const Entry& e)
{
    Creature c;
    c.name = e.name;
    c.primary = e.types.isEmpty() ? Type::Normal : typeOf(e.types.first());
    c.dual = e.types.size() > 1 && typeOf(e.types.at(1)) != c.primary;
    c.secondary = c.dual ? typeOf(e.types.at(1)) : c.primary;
    const int at = int(e.stages.indexOf(e.name));
    c.stage = at < 0 ? 0 : std::min(at, 2);
    if (at > 0 && e.stages.size() == 2)
        c.stage = 2; // a two-step line ends fully grown

    // One evolution line shares its look; each member varies the details.
    const QString root = (at >= 0 && !e.stages.isEmpty()) ? e.stages.first() : e.name;
    Rng fam(nameHash(root));
    Rng own(nameHash(e.name) ^ 0x5DEECE66DULL);
    c.seed = nameHash(e.name);

    const Palette pp = paletteOf(c.primary);
    const Palette sp = paletteOf(c.secondary);
    c.body = shiftHue(pp.body, fam.range(-12, 12), fam.range(0.85, 1.1), fam.range(0.94, 1.04));
    if (c.stage == 0)
        c.body = mix(c.body, kWhite, 0.12);
    else if (c.stage == 2)
        c.body = shiftHue(c.body, own.range(-8, 8), 1.12, 0.9);
    c.accent = c.dual ? sp.body : pp.accent;
    if (c.dual && std::abs(c.accent.lightness() - c.body.lightness()) < 20 && c.accent.hsvHue() >= 0
        && std::abs(c.accent.hsvHue() - c.body.hsvHue()) < 30)
        c.accent = sp.accent;
    c.belly = mix(c.body, kCream, 0.62);

    int weights[4] = {4, 3, 2, 1};
    auto bump = [&](Type t, int b, int q, int bl, int f) {
        if (!has(c, t))
            return;
        weights[0] += b;
        weights[1] += q;
        weights[2] += bl;
        weights[3] += f;
    };
    bump(Type::Ghost, -3, -3, -1, 12);
    bump(Type::Psychic, 0, -1, 0, 2);
    bump(Type::Water, 0, 0, 2, 1);
    bump(Type::Poison, 0, 0, 2, 0);
    bump(Type::Fighting, 4, -2, 0, -1);
    bump(Type::Ground, 0, 3, 0, -1);
    bump(Type::Rock, 0, 2, 1, -1);
    bump(Type::Dragon, 1, 2, 0, 0);
    bump(Type::Fire, 0, 2, 0, 0);
    int total = 0;
    for (int& w : weights) {
        w = std::max(w, 0);
        total += w;
    }
    int roll = fam.pick(std::max(total, 1));
    int planIndex = 0;
    while (planIndex < 3 && roll >= weights[planIndex]) {
        roll -= weights[planIndex];
        ++planIndex;
    }
    c.plan = Plan(planIndex);

    // Later stages grow: legs under a blob, a bigger frame, longer ears.
    if (c.stage >= 1 && c.plan == Plan::Blob && own.chance(0.55))
        c.plan = Plan::Biped;
    else if (c.stage == 2 && c.plan == Plan::Biped && own.chance(0.35))
        c.plan = Plan::Quadruped;

    c.ears = Ears(fam.pick(5));
    if (c.stage >= 1 && own.chance(0.45)) {
        static const Ears grown[] = {Ears::Pointed, Ears::Pointed, Ears::Long, Ears::Long, Ears::Round};
        c.ears = grown[int(c.ears)];
    }
    if (c.plan == Plan::Floater && c.ears == Ears::Floppy)
        c.ears = Ears::Round;
    if (c.primary == Type::Dragon)
        c.ears = Ears::None; // the horns take their place
    c.eyes = fam.chance(0.12)
        ? EyeStyle::Happy
        : (fam.chance(0.15) ? EyeStyle::Sleepy : (fam.chance(0.5) ? EyeStyle::Iris : EyeStyle::Round));
    c.pattern = Pattern(fam.pick(5));
    if (c.pattern == Pattern::None && c.stage >= 1)
        c.pattern = Pattern(1 + own.pick(4));
    c.tail = own.chance(c.plan == Plan::Quadruped ? 0.9 : 0.6);
    c.mouth = Mouth(own.pick(5));
    c.blush = own.chance(c.stage == 2 ? 0.35 : 0.75);
    c.brows = c.stage == 2 || has(c, Type::Fighting) || has(c, Type::Dark) || has(c, Type::Dragon);
    if (c.brows && c.eyes == EyeStyle::Happy)
        c.eyes = EyeStyle::Round;
    c.headScale = own.range(0.94, 1.05) * (c.stage == 0 ? 1.06 : (c.stage == 2 ? 0.93 : 1.0));
    return c;
}

Anatomy build(const Creature& c)
{
    Anatomy a;
    a.plan = c.plan;
    const qreal bodyGrow = c.stage == 0 ? 0.9 : (c.stage == 2 ? 1.1 : 1.0);
    switch (c.plan) {
    case Plan::Biped: {
        a.bodyC = QPointF(100, 130);
        a.brx = 32 * bodyGrow;
        a.bry = 30 * bodyGrow;
        a.body = ellipse(a.bodyC, a.brx, a.bry);
        a.hrx = 44 * c.headScale;
        a.hry = 38 * c.headScale;
        a.head = QPointF(100, a.bodyC.y() - a.bry - a.hry * 0.55);
        a.groundY = a.bodyC.y() + a.bry + 8;
        a.feet = {{QPointF(100 - a.brx * 0.5, a.groundY - 6), 0}, {QPointF(100 + a.brx * 0.5, a.groundY - 6), 0}};
        a.arms
            = {{onEllipse(a.bodyC, a.brx * 0.95, a.bry, -70), -35}, {onEllipse(a.bodyC, a.brx * 0.95, a.bry, 70), 35}};
        a.tail = {onEllipse(a.bodyC, a.brx * 0.7, a.bry * 0.7, 115), 55};
        a.back = {{onEllipse(a.bodyC, a.brx, a.bry, -55), -70},
                  {onEllipse(a.bodyC, a.brx, a.bry, 55), 70},
                  {onEllipse(a.bodyC, a.brx, a.bry, -95), -100},
                  {onEllipse(a.bodyC, a.brx, a.bry, 95), 100}};
        a.wingRoot = QPointF(100, a.bodyC.y() - a.bry * 0.55);
        a.wingGap = a.brx * 1.0;
        a.shadowRx = a.brx * 1.7;
        break;
    }
    case Plan::Quadruped: {
        a.bodyC = QPointF(112, 122);
        a.brx = 46 * bodyGrow;
        a.bry = 27 * bodyGrow;
        a.body = ellipse(a.bodyC, a.brx, a.bry);
        a.hrx = 38 * c.headScale;
        a.hry = 34 * c.headScale;
        a.head = QPointF(a.bodyC.x() - a.brx * 0.85, a.bodyC.y() - a.bry - a.hry * 0.3);
        a.groundY = a.bodyC.y() + a.bry + 22;
        const qreal legW = 15 * bodyGrow;
        const qreal top = a.bodyC.y() + a.bry * 0.3;
        const qreal h = a.groundY - top;
        const qreal xs[4] = {a.bodyC.x() - a.brx * 0.55, a.bodyC.x() + a.brx * 0.55, a.bodyC.x() - a.brx * 0.25,
                             a.bodyC.x() + a.brx * 0.8};
        a.frontLegs = {QRectF(xs[0] - legW / 2, top, legW, h), QRectF(xs[1] - legW / 2, top, legW, h)};
        a.backLegs = {QRectF(xs[2] - legW / 2, top - 2, legW, h), QRectF(xs[3] - legW / 2, top - 2, legW, h)};
        a.tail = {onEllipse(a.bodyC, a.brx * 0.92, a.bry * 0.9, 80), 40};
        a.back = {{onEllipse(a.bodyC, a.brx, a.bry, -15), -10},
                  {onEllipse(a.bodyC, a.brx, a.bry, 12), 8},
                  {onEllipse(a.bodyC, a.brx, a.bry, 38), 28},
                  {onEllipse(a.bodyC, a.brx, a.bry, 60), 50}};
        a.wingRoot = onEllipse(a.bodyC, a.brx * 0.8, a.bry * 0.8, 0);
        a.wingGap = 0;
        a.faceShift = -0.14;
        a.shadowRx = a.brx * 1.25;
        break;
    }
    case Plan::Blob: {
        a.separateHead = false;
        a.bodyC = QPointF(100, 112);
        a.brx = 56 * c.headScale * (c.stage == 2 ? 1.05 : 1.0);
        a.bry = 50 * c.headScale * (c.stage == 2 ? 1.05 : 1.0);
        QPainterPath pear;
        const qreal x = a.bodyC.x(), y = a.bodyC.y(), rx = a.brx, ry = a.bry;
        pear.moveTo(x, y - ry);
        pear.cubicTo(x + rx * 0.62, y - ry, x + rx * 0.95, y - ry * 0.45, x + rx, y + ry * 0.25);
        pear.cubicTo(x + rx * 1.05, y + ry * 0.8, x + rx * 0.6, y + ry, x, y + ry);
        pear.cubicTo(x - rx * 0.6, y + ry, x - rx * 1.05, y + ry * 0.8, x - rx, y + ry * 0.25);
        pear.cubicTo(x - rx * 0.95, y - ry * 0.45, x - rx * 0.62, y - ry, x, y - ry);
        pear.closeSubpath();
        a.body = pear;
        a.head = QPointF(x, y - ry * 0.12);
        a.hrx = rx * 0.92;
        a.hry = ry * 0.88;
        a.groundY = y + ry + 4;
        a.feet = {{QPointF(x - rx * 0.45, a.groundY - 5), 0}, {QPointF(x + rx * 0.45, a.groundY - 5), 0}};
        a.arms = {{QPointF(x - rx * 0.98, y + ry * 0.35), -60}, {QPointF(x + rx * 0.98, y + ry * 0.35), 60}};
        a.tail = {QPointF(x + rx * 0.75, y + ry * 0.55), 70};
        a.back = {{onEllipse(QPointF(x, y), rx * 0.98, ry, -72), -80},
                  {onEllipse(QPointF(x, y), rx * 0.98, ry, 72), 80},
                  {onEllipse(QPointF(x, y), rx, ry, -100), -105},
                  {onEllipse(QPointF(x, y), rx, ry, 100), 105}};
        a.wingRoot = QPointF(x, y - ry * 0.2);
        a.wingGap = rx * 1.1;
        a.shadowRx = rx * 1.1;
        break;
    }
    case Plan::Floater: {
        a.hrx = 46 * c.headScale;
        a.hry = 42 * c.headScale;
        a.head = QPointF(98, 80);
        a.bodyC = QPointF(a.head.x(), a.head.y() + a.hry * 0.6);
        a.brx = a.hrx * 0.8;
        a.bry = a.hry * 0.7;
        const QPointF root(a.head.x(), a.head.y() + a.hry * 0.35);
        const QPointF tip(a.head.x() + 42, a.head.y() + a.hry + 34);
        const QPointF bend(a.head.x() - 24, a.head.y() + a.hry + 62);
        a.body = tapered(root, bend, tip, a.hrx * 1.5, 5);
        a.groundY = 186;
        a.arms
            = {{onEllipse(a.head, a.hrx * 0.98, a.hry, -118), -80}, {onEllipse(a.head, a.hrx * 0.98, a.hry, 118), 80}};
        a.tail = {tip, angleFromUp(tip - bend)};
        a.hasTailRoot = false;
        a.back = {{onEllipse(a.head, a.hrx, a.hry, -100), -105}, {onEllipse(a.head, a.hrx, a.hry, 100), 105}};
        a.wingRoot = a.head + QPointF(0, a.hry * 0.3);
        a.wingGap = a.hrx * 1.2;
        a.shadowRx = 34;
        break;
    }
    }
    return a;
}

// ---------------------------------------------------------------- parts

void drawTail(QPainter& p, const Creature& c, const Anatomy& a, Rng& r)
{
    const Type bt = bodyType(c);
    const QPointF root = a.tail.at;
    const qreal len = r.range(34, 46) * (c.stage == 2 ? 1.1 : 1.0);
    const qreal dir = a.tail.deg + r.range(-10, 10);
    const QPointF out(std::sin(qDegreesToRadians(dir)), -std::cos(qDegreesToRadians(dir)));
    // A floater's trail is its tail: the tip decoration sits on its end.
    const QPointF tip = a.hasTailRoot ? root + out * len : root;
    const QPointF ctrl = a.hasTailRoot ? (root + tip) / 2 + QPointF(r.range(8, 16), r.range(4, 12)) : root - out * 10;
    qreal w0 = 13, w1 = 5;
    if (bt == Type::Dragon || bt == Type::Rock || bt == Type::Ground) {
        w0 = 18;
        w1 = 4;
    }
    if (a.hasTailRoot) {
        const QPainterPath t = tapered(root, ctrl, tip, w0, w1);
        shaded(p, t, c.body, 2.2);
    }
    const QPointF tdir = tip - ctrl;
    const qreal tipDeg = angleFromUp(tdir);
    switch (bt) {
    case Type::Fire:
        placed(p, tip + QPointF(0, 4), tipDeg * 0.5, 1.0, [&] { drawFlame(p, 13, 30); });
        break;
    case Type::Grass:
        placed(p, tip, tipDeg - 20, 1.0, [&] { drawLeaf(p, 26, 10); });
        placed(p, tip, tipDeg + 35, 1.0, [&] { drawLeaf(p, 20, 8, QColor(0x78, 0xD0, 0x5A)); });
        break;
    case Type::Water: {
        placed(p, tip, tipDeg, 1.0, [&] {
            QPainterPath fin;
            fin.moveTo(0, 2);
            fin.cubicTo(-16, -6, -20, -18, -14, -26);
            fin.quadTo(-4, -14, 0, -10);
            fin.quadTo(4, -14, 14, -26);
            fin.cubicTo(20, -18, 16, -6, 0, 2);
            shaded(p, fin, mix(QColor(0x7C, 0xC8, 0xF0), c.body, 0.25), 2.0);
        });
        break;
    }
    case Type::Electric:
        placed(p, tip, tipDeg + 20, 1.0, [&] { drawBolt(p, 16); });
        break;
    case Type::Psychic:
        placed(p, tip, 0, 1.0, [&] {
            QRadialGradient g(QPointF(-3, -3), 10);
            g.setColorAt(0, QColor(0xFF, 0xE0, 0xF4));
            g.setColorAt(1, QColor(0xC8, 0x5C, 0xE0));
            p.setPen(QPen(QColor(0x7A, 0x2C, 0x8C), 1.6));
            p.setBrush(g);
            p.drawEllipse(QPointF(0, 0), 8, 8);
            p.setPen(Qt::NoPen);
            p.setBrush(alpha(kWhite, 230));
            p.drawEllipse(QPointF(-3, -3), 2.2, 2.2);
        });
        break;
    case Type::Steel:
        placed(p, tip, tipDeg, 1.0, [&] {
            QPainterPath blade;
            blade.moveTo(-8, 4);
            blade.quadTo(-6, -12, 2, -24);
            blade.quadTo(8, -10, 8, 4);
            blade.closeSubpath();
            QLinearGradient g(-8, 0, 8, -20);
            g.setColorAt(0, QColor(0x8C, 0x98, 0xAA));
            g.setColorAt(1, QColor(0xF4, 0xF8, 0xFC));
            p.setPen(QPen(QColor(0x4C, 0x56, 0x66), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(g);
            p.drawPath(blade);
        });
        break;
    case Type::Ice:
        placed(p, tip, tipDeg, 1.0, [&] { drawCrystal(p, 6, 22); });
        break;
    case Type::Poison:
    case Type::Dragon:
    case Type::Dark:
        placed(p, tip, tipDeg, 1.0, [&] {
            QPainterPath s = spikePath(6, 16);
            shaded(p, s, bt == Type::Poison ? QColor(0x9C, 0xE0, 0x50) : c.accent, 1.8);
        });
        break;
    case Type::Normal:
    case Type::Ground:
    case Type::Fighting:
    case Type::Flying:
        placed(p, tip, tipDeg, 1.0, [&] {
            QPainterPath tuft;
            tuft.addEllipse(QPointF(0, -4), 8, 9);
            tuft.addEllipse(QPointF(-6, 1), 6, 6);
            tuft.addEllipse(QPointF(6, 1), 6, 6);
            shaded(p, tuft.simplified(), c.pattern == Pattern::Tips ? c.accent : c.belly, 2.0);
        });
        break;
    default:
        break;
    }
}

void drawEar(QPainter& p, const Creature& c, const Anatomy& a, qreal side)
{
    const qreal spread = c.ears == Ears::Long ? 22 : (c.ears == Ears::Round ? 42 : 36);
    const QPointF base = onEllipse(a.head, a.hrx * 0.95, a.hry * 0.95, side * spread + a.faceShift * 40);
    qreal tilt = side * spread * 0.9;
    const qreal s = a.hrx / 44.0;
    QColor inner = mix(c.pattern == Pattern::Tips ? c.accent : QColor(0xF6, 0xA8, 0xB8), c.body, 0.25);
    switch (c.ears) {
    case Ears::Pointed:
        placed(p, base, tilt, s, [&] {
            shaded(p, spikePath(15, 34, side * 4), c.body, 2.4);
            p.setPen(Qt::NoPen);
            p.setBrush(inner);
            p.drawPath(spikePath(7.5, 22, side * 3).translated(0, -2));
        });
        break;
    case Ears::Round:
        placed(p, base, tilt, s, [&] {
            shaded(p, ellipse(QPointF(0, -8), 14, 14), c.body, 2.4);
            p.setPen(Qt::NoPen);
            p.setBrush(inner);
            p.drawEllipse(QPointF(0, -9), 8, 8);
        });
        break;
    case Ears::Long:
        placed(p, base, tilt, s, [&] {
            shaded(p, ellipse(QPointF(0, -26), 10, 30), c.body, 2.4);
            p.setPen(Qt::NoPen);
            p.setBrush(inner);
            p.drawEllipse(QPointF(0, -27), 5, 22);
        });
        break;
    case Ears::Floppy:
        placed(p, onEllipse(a.head, a.hrx * 0.9, a.hry * 0.9, side * 55 + a.faceShift * 40), side * 140, s, [&] {
            QPainterPath ear;
            ear.moveTo(-11, 0);
            ear.cubicTo(-14, -20, -8, -36, 0, -38);
            ear.cubicTo(8, -36, 14, -20, 11, 0);
            ear.closeSubpath();
            shaded(p, ear, c.pattern == Pattern::Tips ? c.accent : c.body.darker(108), 2.4);
        });
        break;
    case Ears::None:
        break;
    }
}

void drawHeadBack(QPainter& p, const Creature& c, const Anatomy& a)
{
    const qreal s = a.hrx / 44.0;
    const QPointF top = onEllipse(a.head, a.hrx, a.hry, a.faceShift * 40);
    switch (c.primary) {
    case Type::Dragon:
        for (int side : {-1, 1})
            placed(p, onEllipse(a.head, a.hrx * 0.92, a.hry * 0.92, side * 34 + a.faceShift * 40), side * 26, s * 1.35,
                   [&] {
                       QPainterPath horn;
                       horn.moveTo(-6, 2);
                       horn.quadTo(-6, -16, side * 10, -30);
                       horn.quadTo(4, -14, 7, 2);
                       horn.closeSubpath();
                       shaded(p, horn, QColor(0xF4, 0xE6, 0xC4), 2.0);
                   });
        break;
    case Type::Bug:
        p.setPen(QPen(lineFor(c.body), 2.4, Qt::SolidLine, Qt::RoundCap));
        for (int side : {-1, 1}) {
            const QPointF b = onEllipse(a.head, a.hrx * 0.8, a.hry * 0.85, side * 18 + a.faceShift * 40);
            const QPointF t = b + QPointF(side * 22 * s, -34 * s);
            QPainterPath ant;
            ant.moveTo(b);
            ant.quadTo(b + QPointF(side * 2, -26 * s), t);
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(lineFor(c.body), 2.4, Qt::SolidLine, Qt::RoundCap));
            p.drawPath(ant);
            shaded(p, ellipse(t, 5.5 * s, 5.5 * s), c.accent, 2.0);
        }
        break;
    case Type::Water:
        placed(p, top + QPointF(0, 6), 0, s, [&] {
            QPainterPath fin;
            fin.moveTo(-14, 4);
            fin.cubicTo(-12, -14, 0, -30, 14, -34);
            fin.cubicTo(8, -22, 14, -8, 16, 4);
            fin.closeSubpath();
            shaded(p, fin, QColor(0x86, 0xCE, 0xF4), 2.2);
            p.setPen(QPen(QColor(0x4C, 0x9C, 0xD0), 1.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(-4, 0), QPointF(6, -24));
            p.drawLine(QPointF(4, 2), QPointF(11, -18));
        });
        break;
    case Type::Ice:
        placed(p, top + QPointF(0, 8), 0, s, [&] {
            p.save();
            p.rotate(-28);
            drawCrystal(p, 6, 24);
            p.restore();
            p.save();
            p.rotate(28);
            drawCrystal(p, 6, 24);
            p.restore();
            drawCrystal(p, 8, 34);
        });
        break;
    case Type::Rock:
        placed(p, top + QPointF(6, 6), 10, s, [&] { drawRock(p, 14, QColor(0xA8, 0x96, 0x74), c.seed); });
        break;
    case Type::Flying:
        placed(p, top + QPointF(0, 6), -10, s, [&] {
            for (int i = -1; i <= 1; ++i) {
                p.save();
                p.rotate(i * 24);
                QPainterPath f;
                f.moveTo(0, 0);
                f.cubicTo(8, -10, 6, -26, 0, -32 + std::abs(i) * 6);
                f.cubicTo(-6, -26, -8, -10, 0, 0);
                shaded(p, f, i == 0 ? c.accent : c.body, 1.8);
                p.restore();
            }
        });
        break;
    case Type::Ghost:
        placed(p, top + QPointF(4, 6), 18, s, [&] {
            QPainterPath curl;
            curl.moveTo(-8, 4);
            curl.cubicTo(-10, -14, 10, -24, 14, -12);
            curl.cubicTo(16, -4, 6, -2, 6, -8);
            curl.cubicTo(6, -12, 0, -8, 8, 4);
            curl.closeSubpath();
            shaded(p, curl, c.body, 2.0);
        });
        break;
    case Type::Poison:
        placed(p, top + QPointF(0, 8), 0, s, [&] {
            for (int i = -1; i <= 1; ++i) {
                p.save();
                p.translate(i * 10, 0);
                p.rotate(i * 18);
                shaded(p, spikePath(6, 22 - std::abs(i) * 5), QColor(0x9C, 0xE0, 0x50), 1.8);
                p.restore();
            }
        });
        break;
    case Type::Normal:
        placed(p, top + QPointF(0, 4), 0, s, [&] {
            QPainterPath tuft;
            tuft.moveTo(-10, 6);
            tuft.quadTo(-12, -10, -2, -14);
            tuft.quadTo(-6, -6, 2, -4);
            tuft.quadTo(2, -16, 12, -14);
            tuft.quadTo(6, -6, 10, 6);
            tuft.closeSubpath();
            shaded(p, tuft, c.body, 2.0);
        });
        break;
    case Type::Steel:
    case Type::Fire:
    case Type::Grass:
    case Type::Electric:
    case Type::Dark:
    case Type::Fighting:
    case Type::Ground:
    case Type::Psychic:
        break;
    }
}

// Head decorations that sit in front of the head outline.
void drawHeadFront(QPainter& p, const Creature& c, const Anatomy& a, const QPainterPath& headPath)
{
    const qreal s = a.hrx / 44.0;
    const QPointF top = onEllipse(a.head, a.hrx, a.hry, a.faceShift * 40);
    const QPointF brow = a.head + QPointF(a.faceShift * a.hrx, -a.hry * 0.52);
    switch (c.primary) {
    case Type::Fire:
        placed(p, top + QPointF(0, 8), 0, s, [&] {
            p.save();
            p.translate(-9, 2);
            p.rotate(-22);
            drawFlame(p, 8, 22);
            p.restore();
            p.save();
            p.translate(9, 2);
            p.rotate(22);
            drawFlame(p, 8, 20);
            p.restore();
            drawFlame(p, 11, 34);
        });
        break;
    case Type::Grass:
        placed(p, top + QPointF(0, 3), 0, s, [&] {
            p.setPen(QPen(QColor(0x3C, 0x80, 0x34), 2.6, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(0, 4), QPointF(0, -10));
            p.save();
            p.translate(0, -9);
            p.rotate(-55);
            drawLeaf(p, 24, 9);
            p.restore();
            p.save();
            p.translate(0, -9);
            p.rotate(50);
            drawLeaf(p, 20, 8, QColor(0x7C, 0xD4, 0x5C));
            p.restore();
        });
        break;
    case Type::Steel:
        p.save();
        p.setClipPath(headPath);
        {
            QPainterPath cap;
            cap.addEllipse(a.head + QPointF(0, -a.hry * 0.95), a.hrx * 1.2, a.hry * 0.55);
            QLinearGradient g(a.head.x() - a.hrx, a.head.y() - a.hry, a.head.x() + a.hrx, a.head.y());
            g.setColorAt(0, QColor(0xF4, 0xF8, 0xFC));
            g.setColorAt(0.5, QColor(0xB4, 0xBE, 0xCC));
            g.setColorAt(1, QColor(0x84, 0x90, 0xA2));
            p.setPen(QPen(QColor(0x4C, 0x56, 0x66), 2.2));
            p.setBrush(g);
            p.drawPath(cap);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x6A, 0x74, 0x84));
            for (int i = -2; i <= 2; ++i)
                p.drawEllipse(a.head + QPointF(i * a.hrx * 0.32, -a.hry * 0.5 - std::abs(i) * a.hry * 0.04), 1.9, 1.9);
        }
        p.restore();
        break;
    case Type::Dark: {
        // A mask band across the eyes, then a crescent on the brow.
        p.save();
        p.setClipPath(headPath);
        p.setPen(Qt::NoPen);
        p.setBrush(alpha(mix(c.body, kInk, 0.55), 235));
        QPainterPath band;
        band.addRoundedRect(QRectF(a.head.x() - a.hrx * 1.2, a.head.y() - a.hry * 0.22, a.hrx * 2.4, a.hry * 0.44), 8,
                            8);
        p.drawPath(band);
        p.restore();
        QPainterPath moon
            = ellipse(brow, 7 * s, 7 * s).subtracted(ellipse(brow + QPointF(3.5 * s, -2 * s), 6 * s, 6 * s));
        p.setPen(QPen(QColor(0x9C, 0x7C, 0x20), 1.2));
        p.setBrush(QColor(0xFF, 0xD8, 0x5A));
        p.drawPath(moon);
        break;
    }
    case Type::Fighting: {
        p.save();
        p.setClipPath(headPath);
        const QColor band(0xE8, 0x3C, 0x3C);
        p.setPen(QPen(band.darker(160), 2.0));
        p.setBrush(band);
        p.drawRect(QRectF(a.head.x() - a.hrx * 1.2, a.head.y() - a.hry * 0.62, a.hrx * 2.4, a.hry * 0.2));
        p.restore();
        const QPointF knot = onEllipse(a.head, a.hrx, a.hry, 80);
        p.setPen(QPen(band.darker(160), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(band);
        for (int i = 0; i < 2; ++i) {
            QPainterPath tie;
            const QPointF k = knot + QPointF(-2, -a.hry * 0.5 + 4);
            tie.moveTo(k + QPointF(0, -3));
            tie.quadTo(k + QPointF(14, -8 + i * 10), k + QPointF(24, -2 + i * 14));
            tie.lineTo(k + QPointF(20, 4 + i * 14));
            tie.quadTo(k + QPointF(10, 0 + i * 8), k + QPointF(0, 3));
            tie.closeSubpath();
            p.drawPath(tie);
        }
        break;
    }
    case Type::Psychic: {
        QPainterPath gem;
        const QPointF g0 = brow + QPointF(0, 2);
        gem.moveTo(g0 + QPointF(0, -7 * s));
        gem.lineTo(g0 + QPointF(5 * s, 0));
        gem.lineTo(g0 + QPointF(0, 7 * s));
        gem.lineTo(g0 + QPointF(-5 * s, 0));
        gem.closeSubpath();
        QLinearGradient g(g0 + QPointF(-5, -7), g0 + QPointF(5, 7));
        g.setColorAt(0, QColor(0xFF, 0xB8, 0xF0));
        g.setColorAt(1, QColor(0xB0, 0x30, 0xC8));
        p.setPen(QPen(QColor(0x6A, 0x1C, 0x7C), 1.4));
        p.setBrush(g);
        p.drawPath(gem);
        p.setPen(Qt::NoPen);
        p.setBrush(alpha(kWhite, 220));
        p.drawEllipse(g0 + QPointF(-1.5 * s, -2.5 * s), 1.4 * s, 1.8 * s);
        break;
    }
    case Type::Ground: {
        p.save();
        p.setClipPath(headPath);
        p.setPen(Qt::NoPen);
        p.setBrush(alpha(c.body.darker(130), 200));
        p.drawEllipse(brow + QPointF(-a.hrx * 0.5, -2), a.hrx * 0.32, a.hry * 0.24);
        p.drawEllipse(brow + QPointF(a.hrx * 0.55, 0), a.hrx * 0.22, a.hry * 0.18);
        p.restore();
        placed(p, brow + QPointF(0, 2), 0, s, [&] { shaded(p, spikePath(5, 12), QColor(0xF2, 0xE6, 0xC8), 1.8); });
        break;
    }
    default:
        break;
    }
}

void drawEye(QPainter& p, const Creature& c, QPointF at, qreal size, qreal side)
{
    const QColor iris = c.eyes == EyeStyle::Iris ? mix(c.accent, kInk, 0.25) : kInk;
    switch (c.eyes) {
    case EyeStyle::Happy: {
        p.setPen(QPen(kInk, size * 0.32, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        QPainterPath arc;
        arc.moveTo(at + QPointF(-size * 0.8, size * 0.2));
        arc.quadTo(at + QPointF(0, -size * 0.9), at + QPointF(size * 0.8, size * 0.2));
        p.drawPath(arc);
        return;
    }
    case EyeStyle::Round:
    case EyeStyle::Iris:
    case EyeStyle::Sleepy: {
        const qreal rx = size * 0.78, ry = size;
        p.setPen(QPen(kInk, 1.6));
        p.setBrush(kWhite);
        p.drawEllipse(at, rx, ry);
        p.setPen(Qt::NoPen);
        QRadialGradient g(at + QPointF(0, ry * 0.35), ry);
        g.setColorAt(0, iris.lighter(c.eyes == EyeStyle::Iris ? 150 : 170));
        g.setColorAt(1, iris);
        p.setBrush(g);
        const QPointF ic = at + QPointF(side * rx * 0.06, ry * 0.12);
        p.drawEllipse(ic, rx * 0.82, ry * 0.84);
        if (c.eyes == EyeStyle::Iris) {
            p.setBrush(kInk);
            p.drawEllipse(ic + QPointF(0, ry * 0.05), rx * 0.42, ry * 0.48);
        }
        p.setBrush(kWhite);
        p.drawEllipse(at + QPointF(-rx * 0.3, -ry * 0.32), rx * 0.34, ry * 0.3);
        p.drawEllipse(at + QPointF(rx * 0.32, ry * 0.4), rx * 0.15, ry * 0.13);
        if (c.eyes == EyeStyle::Sleepy) {
            QPainterPath lid;
            lid.addRect(QRectF(at.x() - rx * 1.3, at.y() - ry * 1.3, rx * 2.6, ry * 1.15));
            p.save();
            p.setClipPath(ellipse(at, rx + 1, ry + 1));
            p.setBrush(c.body);
            p.setPen(Qt::NoPen);
            p.drawPath(lid);
            p.restore();
            p.setPen(QPen(kInk, 2.0, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(at + QPointF(-rx * 1.05, -ry * 0.15), at + QPointF(rx * 1.05, -ry * 0.15));
        }
        if (c.brows) {
            p.setPen(QPen(kInk, size * 0.28, Qt::SolidLine, Qt::RoundCap));
            const QPointF b = at + QPointF(0, -ry * 1.32);
            p.drawLine(b + QPointF(-side * rx * 0.9, -ry * 0.22), b + QPointF(side * rx * 0.8, ry * 0.12));
        }
        return;
    }
    }
}

void drawFace(QPainter& p, const Creature& c, const Anatomy& a, Rng& r)
{
    const qreal s = a.hrx / 44.0;
    const QPointF face = a.head + QPointF(a.faceShift * a.hrx, a.separateHead ? a.hry * 0.08 : a.hry * -0.05);
    const qreal gap = a.hrx * r.range(0.36, 0.44) * (a.plan == Plan::Quadruped ? 0.92 : 1.0);
    const qreal size = 10.5 * s * r.range(0.95, 1.12) * (c.stage == 0 ? 1.1 : (c.stage == 2 ? 0.92 : 1.0));

    if (a.plan == Plan::Quadruped) {
        // A muzzle gives the sideways-looking head its snout.
        const QPointF m = face + QPointF(-a.hrx * 0.12, a.hry * 0.46);
        p.setPen(QPen(lineFor(c.belly), 1.6));
        p.setBrush(c.belly);
        p.drawEllipse(m, a.hrx * 0.4, a.hry * 0.28);
    }

    if (c.blush) {
        p.setPen(Qt::NoPen);
        const QColor cheek(0xFF, 0x7A, 0x9A, 120);
        p.setBrush(cheek);
        p.drawEllipse(face + QPointF(-gap * 1.35, size * 1.05), size * 0.7, size * 0.45);
        p.drawEllipse(face + QPointF(gap * 1.35, size * 1.05), size * 0.7, size * 0.45);
    }

    if (c.pattern == Pattern::Mark && c.primary != Type::Psychic && c.primary != Type::Dark) {
        const QPointF m = a.head + QPointF(a.faceShift * a.hrx, -a.hry * 0.5);
        QPainterPath dia;
        dia.moveTo(m + QPointF(0, -6 * s));
        dia.lineTo(m + QPointF(4.5 * s, 0));
        dia.lineTo(m + QPointF(0, 6 * s));
        dia.lineTo(m + QPointF(-4.5 * s, 0));
        dia.closeSubpath();
        p.setPen(QPen(lineFor(c.accent), 1.2));
        p.setBrush(c.accent);
        p.drawPath(dia);
    }

    drawEye(p, c, face + QPointF(-gap, 0), size, -1);
    drawEye(p, c, face + QPointF(gap, 0), size, 1);

    const QPointF m = face
        + QPointF(a.plan == Plan::Quadruped ? -a.hrx * 0.12 : 0, size * 1.55 + (a.plan == Plan::Quadruped ? 2 : 0));
    if (a.plan == Plan::Quadruped || c.mouth == Mouth::Cat) {
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawEllipse(m + QPointF(0, -5 * s), 3.2 * s, 2.2 * s);
    }
    p.setPen(QPen(kInk, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const qreal w = 7 * s;
    switch (c.mouth) {
    case Mouth::Smile: {
        QPainterPath sm;
        sm.moveTo(m + QPointF(-w, -1));
        sm.quadTo(m + QPointF(0, w * 0.9), m + QPointF(w, -1));
        p.drawPath(sm);
        break;
    }
    case Mouth::Cat: {
        QPainterPath sm;
        sm.moveTo(m + QPointF(-w, -1));
        sm.quadTo(m + QPointF(-w * 0.5, w * 0.6), m + QPointF(0, -1));
        sm.quadTo(m + QPointF(w * 0.5, w * 0.6), m + QPointF(w, -1));
        p.drawPath(sm);
        break;
    }
    case Mouth::Open:
    case Mouth::Fang: {
        QPainterPath mo;
        mo.moveTo(m + QPointF(-w, -1.5));
        mo.quadTo(m + QPointF(0, 0), m + QPointF(w, -1.5));
        mo.quadTo(m + QPointF(w * 0.6, w * 1.5), m + QPointF(0, w * 1.4));
        mo.quadTo(m + QPointF(-w * 0.6, w * 1.5), m + QPointF(-w, -1.5));
        mo.closeSubpath();
        p.setBrush(QColor(0x8C, 0x2A, 0x3A));
        p.drawPath(mo);
        p.save();
        p.setClipPath(mo);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xF4, 0x7C, 0x8C));
        p.drawEllipse(m + QPointF(0, w * 1.45), w * 0.6, w * 0.55);
        p.restore();
        if (c.mouth == Mouth::Fang) {
            p.setPen(QPen(kInk, 1.0));
            p.setBrush(kWhite);
            QPolygonF fang;
            fang << m + QPointF(w * 0.2, -1) << m + QPointF(w * 0.6, -1.2) << m + QPointF(w * 0.42, w * 0.55);
            p.drawPolygon(fang);
        }
        break;
    }
    case Mouth::Tiny:
        p.setBrush(QColor(0x8C, 0x2A, 0x3A));
        p.drawEllipse(m + QPointF(0, 1), 2.6 * s, 2.2 * s);
        break;
    }
}

void drawPattern(QPainter& p, const Creature& c, const Anatomy& a, Rng& r)
{
    if (c.pattern != Pattern::Spots && c.pattern != Pattern::Stripes)
        return;
    p.save();
    p.setClipPath(a.body);
    p.setPen(Qt::NoPen);
    p.setBrush(alpha(c.accent, 200));
    if (c.pattern == Pattern::Spots) {
        const int n = 3 + r.pick(3);
        for (int i = 0; i < n; ++i) {
            const qreal ang = r.range(-150, 150);
            const QPointF at = onEllipse(a.bodyC, a.brx * r.range(0.55, 0.85), a.bry * r.range(0.55, 0.85), ang);
            const qreal rad = r.range(3.5, 6.5);
            p.drawEllipse(at, rad, rad * 0.85);
        }
    } else {
        for (int i = -1; i <= 1; ++i) {
            const QPointF at = onEllipse(a.bodyC, a.brx, a.bry, i * 28 + (a.plan == Plan::Quadruped ? 20 : 0));
            placed(p, at, i * 28 + (a.plan == Plan::Quadruped ? 20 : 0), 1.0, [&] {
                QPainterPath st;
                st.moveTo(-5, -4);
                st.quadTo(0, 22, 5, -4);
                st.closeSubpath();
                p.drawPath(st);
            });
        }
    }
    p.restore();
}

void drawBelly(QPainter& p, const Creature& c, const Anatomy& a)
{
    p.save();
    p.setClipPath(a.body);
    p.setPen(Qt::NoPen);
    p.setBrush(c.belly);
    switch (a.plan) {
    case Plan::Biped:
        p.drawEllipse(a.bodyC + QPointF(0, a.bry * 0.2), a.brx * 0.62, a.bry * 0.7);
        break;
    case Plan::Quadruped:
        p.drawEllipse(a.bodyC + QPointF(-a.brx * 0.1, a.bry * 0.85), a.brx * 0.75, a.bry * 0.45);
        break;
    case Plan::Blob:
        p.drawEllipse(a.bodyC + QPointF(0, a.bry * 0.62), a.brx * 0.55, a.bry * 0.36);
        break;
    case Plan::Floater:
        break;
    }
    p.restore();
}

void drawBackFeature(QPainter& p, const Creature& c, const Anatomy& a, Type bt)
{
    const qreal wingSpan = (a.plan == Plan::Quadruped ? 58 : (a.plan == Plan::Blob ? 60 : 54))
        * (c.stage == 0 ? 0.9 : (c.stage == 2 ? 1.12 : 1.0));
    auto wings = [&](auto draw) {
        if (a.plan == Plan::Quadruped) {
            draw(a.wingRoot + QPointF(8, 0), wingSpan * 0.9, 1.0, 58.0, true);
            draw(a.wingRoot, wingSpan, 1.0, 40.0, false);
        } else {
            draw(a.wingRoot + QPointF(-a.wingGap / 2, 0), wingSpan, -1.0, 28.0, false);
            draw(a.wingRoot + QPointF(a.wingGap / 2, 0), wingSpan, 1.0, 28.0, false);
        }
    };
    switch (bt) {
    case Type::Flying:
        wings([&](QPointF at, qreal span, qreal sx, qreal lift, bool far) {
            drawFeatherWing(p, at, span, sx, far ? c.accent.darker(115) : mix(c.accent, kWhite, 0.2), lift);
        });
        break;
    case Type::Dragon:
        wings([&](QPointF at, qreal span, qreal sx, qreal lift, bool far) {
            drawBatWing(p, at, span, sx, far ? c.accent.darker(120) : c.accent, lift);
        });
        break;
    case Type::Bug:
        wings([&](QPointF at, qreal span, qreal sx, qreal lift, bool) { drawInsectWing(p, at, span * 0.9, sx, lift); });
        break;
    case Type::Rock:
    case Type::Steel:
    case Type::Ice:
    case Type::Grass:
    case Type::Poison:
    case Type::Water: {
        QList<Anchor> pts = a.back;
        if (a.plan != Plan::Quadruped && c.stage == 0)
            pts = pts.mid(0, 2);
        for (const Anchor& an : std::as_const(pts)) {
            placed(p, an.at, an.deg, 1.0, [&] {
                switch (bt) {
                case Type::Rock:
                    drawRock(p, 11, QColor(0xA8, 0x96, 0x74), c.seed + quint64(an.deg * 7 + 1000));
                    break;
                case Type::Steel:
                    drawRivetPlate(p, 9, 18);
                    break;
                case Type::Ice:
                    drawCrystal(p, 6, 20);
                    break;
                case Type::Grass:
                    drawLeaf(p, 24, 9, QColor(0x5C, 0xC0, 0x52));
                    break;
                case Type::Poison:
                    shaded(p, spikePath(6, 18), QColor(0x9C, 0xE0, 0x50), 1.8);
                    break;
                default: {
                    QPainterPath fin;
                    fin.moveTo(-9, 3);
                    fin.quadTo(-6, -12, 6, -20);
                    fin.quadTo(4, -8, 9, 3);
                    fin.closeSubpath();
                    shaded(p, fin, QColor(0x86, 0xCE, 0xF4), 2.0);
                    break;
                }
                }
            });
        }
        break;
    }
    case Type::Dark:
    case Type::Fire: {
        // A ruff of flames or dark fur around the neck.
        const QList<Anchor> pts = a.back.mid(0, 2);
        for (const Anchor& an : pts)
            placed(p, an.at, an.deg, 1.0, [&] {
                if (bt == Type::Fire)
                    drawFlame(p, 9, 24);
                else
                    shaded(p, spikePath(7, 18, 5), mix(c.body, kInk, 0.4), 2.0);
            });
        break;
    }
    default:
        break;
    }
}

void drawLegsAndFeet(QPainter& p, const Creature& c, const Anatomy& a, bool back)
{
    const QColor footC = c.pattern == Pattern::Tips ? c.accent : c.body.darker(106);
    if (a.plan == Plan::Quadruped) {
        const QList<QRectF>& legs = back ? a.backLegs : a.frontLegs;
        for (const QRectF& leg : legs) {
            QPainterPath lp;
            lp.addRoundedRect(leg, leg.width() / 2, leg.width() / 2);
            shaded(p, lp, back ? c.body.darker(115) : c.body, 2.2);
            if (!back) {
                p.setPen(QPen(lineFor(c.body), 1.4, Qt::SolidLine, Qt::RoundCap));
                const qreal y = leg.bottom() - 1;
                p.drawLine(QPointF(leg.center().x() - 2.5, y), QPointF(leg.center().x() - 2.5, y - 5));
                p.drawLine(QPointF(leg.center().x() + 2.5, y), QPointF(leg.center().x() + 2.5, y - 5));
            }
        }
        return;
    }
    if (back)
        return;
    for (const Anchor& f : a.feet) {
        shaded(p, ellipse(f.at, 13, 8), footC, 2.2);
        if (has(c, Type::Ground) || has(c, Type::Dragon)) {
            p.setPen(QPen(QColor(0x6C, 0x5A, 0x48), 1.0));
            p.setBrush(QColor(0xFA, 0xF2, 0xE2));
            for (int i = -1; i <= 1; ++i) {
                QPolygonF claw;
                const QPointF b = f.at + QPointF(i * 5, 5);
                claw << b + QPointF(-2, 0) << b + QPointF(2, 0) << b + QPointF(0, 4);
                p.drawPolygon(claw);
            }
        }
    }
}

void drawArms(QPainter& p, const Creature& c, const Anatomy& a)
{
    for (const Anchor& arm : a.arms) {
        placed(p, arm.at, arm.deg, 1.0, [&] {
            const QPainterPath ap = ellipse(QPointF(0, 8), 8, 13);
            shaded(p, ap, c.body, 2.2);
            if (has(c, Type::Fighting)) {
                p.save();
                p.setClipPath(ap);
                p.setPen(QPen(QColor(0xB8, 0xB0, 0xA0), 1.2));
                p.setBrush(QColor(0xFA, 0xF6, 0xEE));
                p.drawRect(QRectF(-10, 8, 20, 6));
                p.drawRect(QRectF(-10, 14, 20, 9));
                p.restore();
            }
        });
    }
}

void drawAmbient(QPainter& p, const Creature& c, const Anatomy& a, Rng& r)
{
    // Particles sit in the upper corners, clear of ears and crests.
    QList<QPointF> spots = {QPointF(28, 34), QPointF(172, 40), QPointF(22, 96), QPointF(180, 104), QPointF(166, 22)};
    if (a.plan == Plan::Quadruped)
        spots = {QPointF(172, 42), QPointF(150, 22), QPointF(186, 70), QPointF(24, 30), QPointF(186, 20)};
    const int n = 2 + r.pick(2);
    for (int i = 0; i < n; ++i) {
        const QPointF at = spots.at((i + int(c.seed % 3)) % spots.size()) + QPointF(r.range(-5, 5), r.range(-5, 5));
        const qreal sc = r.range(0.7, 1.05);
        placed(p, at, r.range(-25, 25), sc, [&] {
            switch (c.primary) {
            case Type::Fire:
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(0xFF, 0xA0, 0x30));
                p.drawEllipse(QPointF(0, 0), 3.5, 3.5);
                p.setBrush(QColor(0xFF, 0xE0, 0x70));
                p.drawEllipse(QPointF(-0.8, -0.8), 1.6, 1.6);
                break;
            case Type::Water:
                drawDrop(p, 9);
                break;
            case Type::Electric:
                drawBolt(p, 9);
                break;
            case Type::Ice:
                drawSnowflake(p, 8);
                break;
            case Type::Poison:
                drawBubble(p, 5 + i, QColor(0xB8, 0x6C, 0xE0));
                break;
            case Type::Psychic:
                drawSparkle(p, 7, QColor(0xFF, 0xA8, 0xE0));
                break;
            case Type::Ghost:
                drawFlame(p, 6, 16, true);
                break;
            case Type::Grass:
                if (i == 0)
                    drawLeaf(p, 14, 6, QColor(0x8C, 0xD8, 0x5C));
                break;
            case Type::Dragon:
            case Type::Dark:
                if (i < 2)
                    drawSparkle(p, 5, c.primary == Type::Dark ? QColor(0xC8, 0xB0, 0xF0) : QColor(0xFF, 0xE0, 0x80));
                break;
            case Type::Flying:
                if (i == 0) {
                    QPainterPath f;
                    f.moveTo(0, 8);
                    f.cubicTo(6, 2, 5, -8, 0, -12);
                    f.cubicTo(-5, -8, -6, 2, 0, 8);
                    shaded(p, f, mix(c.accent, kWhite, 0.3), 1.4);
                }
                break;
            case Type::Steel:
                if (i < 2)
                    drawSparkle(p, 6, QColor(0xE8, 0xF0, 0xFA));
                break;
            default:
                break;
            }
        });
    }
    // Pebbles at the feet of earthbound creatures.
    if (c.primary == Type::Rock || c.primary == Type::Ground) {
        placed(p, QPointF(58, a.groundY + 8), 0, 1.0, [&] { drawRock(p, 4, QColor(0xB0, 0x9C, 0x7C), c.seed + 7); });
        placed(p, QPointF(36, a.groundY + 2), 0, 1.0, [&] { drawRock(p, 6, QColor(0xB0, 0x9C, 0x7C), c.seed + 9); });
        placed(p, QPointF(168, a.groundY + 4), 0, 1.0,
               [&] { drawRock(p, 4.5, QColor(0xA0, 0x8C, 0x70), c.seed + 11); });
    }
}

void drawCreature(QPainter& p, const Creature& c)
{
    const Anatomy a = build(c);
    Rng r(c.seed);

    QPainterPath headPath = a.separateHead ? ellipse(a.head, a.hrx, a.hry) : a.body;

    // Flyers always get their wings, whatever the second type adds.
    if (c.dual && c.primary == Type::Flying)
        drawBackFeature(p, c, a, Type::Flying);
    drawBackFeature(p, c, a, bodyType(c));
    if (c.tail || a.plan == Plan::Floater)
        drawTail(p, c, a, r);
    drawLegsAndFeet(p, c, a, true);

    if (a.plan == Plan::Floater) {
        QLinearGradient g(a.head.x(), a.head.y(), a.head.x() + 30, a.head.y() + a.hry + 50);
        g.setColorAt(0, c.body);
        g.setColorAt(1, mix(c.body, kWhite, 0.45));
        p.setPen(QPen(lineFor(c.body), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(g);
        p.drawPath(a.body);
    } else {
        shaded(p, a.body, c.body, 2.6);
        drawBelly(p, c, a);
        drawPattern(p, c, a, r);
    }
    drawLegsAndFeet(p, c, a, false);

    if (a.plan != Plan::Blob)
        drawArms(p, c, a);

    for (qreal side : {-1.0, 1.0})
        drawEar(p, c, a, side);
    drawHeadBack(p, c, a);
    if (a.separateHead)
        shaded(p, headPath, c.body, 2.6);
    if (a.plan == Plan::Blob)
        drawArms(p, c, a);
    drawHeadFront(p, c, a, headPath);
    drawFace(p, c, a, r);
    drawAmbient(p, c, a, r);
}

// ---------------------------------------------------------------- compositing

// Spreads and softens the creature's coverage into a halo, so its edge fades
// through near-white tones into the white background.
QImage haloMask(const QImage& layer)
{
    const int w = layer.width(), h = layer.height();
    std::vector<int> a(size_t(w) * size_t(h)), tmp(a.size());
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
        for (int x = 0; x < w; ++x)
            a[size_t(y) * size_t(w) + size_t(x)] = qAlpha(line[x]);
    }
    auto pass = [&](int radius, bool dilate) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                int best = 0, sum = 0, n = 0;
                for (int k = -radius; k <= radius; ++k) {
                    const int xx = std::clamp(x + k, 0, w - 1);
                    const int v = a[size_t(y) * size_t(w) + size_t(xx)];
                    best = std::max(best, v);
                    sum += v;
                    ++n;
                }
                tmp[size_t(y) * size_t(w) + size_t(x)] = dilate ? best : sum / n;
            }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                int best = 0, sum = 0, n = 0;
                for (int k = -radius; k <= radius; ++k) {
                    const int yy = std::clamp(y + k, 0, h - 1);
                    const int v = tmp[size_t(yy) * size_t(w) + size_t(x)];
                    best = std::max(best, v);
                    sum += v;
                    ++n;
                }
                a[size_t(y) * size_t(w) + size_t(x)] = dilate ? best : sum / n;
            }
    };
    pass(3, true);
    pass(2, false);
    pass(2, false);
    QImage mask(w, h, QImage::Format_Alpha8);
    for (int y = 0; y < h; ++y) {
        uchar* line = mask.scanLine(y);
        for (int x = 0; x < w; ++x)
            line[x] = uchar(a[size_t(y) * size_t(w) + size_t(x)]);
    }
    return mask;
}

QImage renderLayer(const Creature& c, const QTransform& t, QSize size)
{
    QImage layer(size, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QPainter p(&layer);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    p.setTransform(t);
    drawCreature(p, c);
    return layer;
}

QRect coverage(const QImage& layer)
{
    int x0 = layer.width(), y0 = layer.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < layer.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
        for (int x = 0; x < layer.width(); ++x)
            if (qAlpha(line[x]) > 8) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
    }
    return x1 < 0 ? QRect() : QRect(QPoint(x0, y0), QPoint(x1, y1));
}

QImage portrait(const Creature& c)
{
    const Anatomy a = build(c);
    const QRectF shadowRect(100 - a.shadowRx, a.groundY - a.shadowRx * 0.22, a.shadowRx * 2, a.shadowRx * 0.44);

    // Young creatures are drawn smaller; then whatever sticks out (long ears,
    // wide wings) is brought back inside the free part and the whole is
    // centred there.
    const qreal grow = c.stage == 0 ? 0.8 : (c.stage == 1 ? 0.9 : 1.0);
    QTransform base;
    base.translate(100, a.groundY);
    base.scale(grow, grow);
    base.translate(-100, -a.groundY);
    constexpr int pad = 60;
    const QImage probe
        = renderLayer(c, base * QTransform::fromTranslate(pad, pad), QSize(kModel + 2 * pad, kModel + 2 * pad));
    QRectF box = QRectF(coverage(probe)).translated(-pad, -pad).united(base.mapRect(shadowRect));
    // Wider than the halo's spread, so the halo is not cut at the edge.
    constexpr qreal margin = 9;
    const QSize room = kClear.size();
    const qreal fit
        = std::min({1.0, (room.width() - 2 * margin) / box.width(), (room.height() - 2 * margin) / box.height()});
    QTransform adjust;
    adjust.translate(room.width() / 2.0, room.height() / 2.0);
    adjust.scale(fit, fit);
    adjust.translate(-box.center().x(), -box.center().y());
    const QTransform t = base * adjust;

    const QImage layer = renderLayer(c, t, room);

    // Drawn on its own and then copied in, so that no shadow, halo or
    // antialiased edge can tint a pixel over the text.
    QImage scene(room, QImage::Format_RGB32);
    scene.fill(kWhite);
    QPainter p(&scene);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);

    QRadialGradient shadow(shadowRect.center(), a.shadowRx);
    shadow.setColorAt(0, QColor(0xD8, 0xDA, 0xE2));
    shadow.setColorAt(0.6, QColor(0xEC, 0xED, 0xF2));
    shadow.setColorAt(1, kWhite);
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.setTransform(QTransform::fromTranslate(-shadowRect.center().x(), -shadowRect.center().y())
                   * QTransform::fromScale(1, 0.22)
                   * QTransform::fromTranslate(shadowRect.center().x(), shadowRect.center().y()) * t);
    p.drawEllipse(shadowRect.center(), a.shadowRx, a.shadowRx);
    p.resetTransform();

    // Tinted, not grey, so the rim reads as part of the creature.
    const QImage mask = haloMask(layer);
    QImage halo(room, QImage::Format_ARGB32_Premultiplied);
    halo.fill(mix(c.body, kWhite, 0.86));
    {
        QPainter hp(&halo);
        hp.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        hp.drawImage(0, 0, mask);
    }
    p.drawImage(0, 0, halo);
    p.drawImage(0, 0, layer);
    p.end();

    QImage out(kCanvas, kCanvas, QImage::Format_RGB32);
    out.fill(kWhite);
    QPainter place(&out);
    place.drawImage(kClear.topLeft(), scene);
    place.end();
    return out;
}

} // namespace

bool portraits::readEntries(const QString& path, std::vector<Entry>& out, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    QXmlStreamReader xml(&file);
    Entry current;
    bool inFaunlet = false;
    QStringList stack;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QString tag = xml.name().toString();
            if (tag == QLatin1String("faunlet")) {
                current = Entry();
                inFaunlet = true;
                stack.clear();
            } else if (inFaunlet) {
                const QString parent = stack.isEmpty() ? QString() : stack.last();
                if (tag == QLatin1String("name") && stack.isEmpty() && current.name.isEmpty()) {
                    current.name = xml.readElementText().trimmed();
                    continue; // readElementText consumed the end element
                }
                if (tag == QLatin1String("name") && parent == QLatin1String("stage")) {
                    current.stages << xml.readElementText().trimmed();
                    continue;
                }
                if (tag == QLatin1String("type")) {
                    current.types << xml.readElementText().trimmed();
                    continue;
                }
                stack << tag;
            }
        } else if (xml.isEndElement() && inFaunlet) {
            if (xml.name() == QLatin1String("faunlet")) {
                inFaunlet = false;
                if (!current.name.isEmpty())
                    out.push_back(current);
            } else if (!stack.isEmpty()) {
                stack.removeLast();
            }
        }
    }
    if (xml.hasError()) {
        error = QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
        return false;
    }
    return true;
}

QImage portraits::draw(const Entry& entry)
{
    return portrait(describe(entry));
}
