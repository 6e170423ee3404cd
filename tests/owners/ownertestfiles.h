#ifndef OWNERTESTFILES_H
#define OWNERTESTFILES_H

#include <QBuffer>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QStringList>
#include <QtTest>

// Helpers shared by the owner tests: pictures on disk, exact file bytes and
// a listing of everything below a folder.

inline QImage pattern(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x ^ y) % 256));
    return image;
}

inline QByteArray jpegOf(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes;
}

// Writes a PNG picture and returns its path.
inline QString writePicture(const QString& path, int width, int height)
{
    pattern(width, height).save(path, "PNG");
    return path;
}

inline QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline QStringList listing(const QString& root)
{
    QStringList out;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        out << it.next().mid(root.size());
    out.sort();
    return out;
}

// Names that must never reach the disk, one row each.
inline void addUnsafeNameRows()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << QString();
    QTest::newRow("dot") << QStringLiteral(".");
    QTest::newRow("dot dot") << QStringLiteral("..");
    QTest::newRow("leading dot") << QStringLiteral(".hidden");
    QTest::newRow("up and out") << QStringLiteral("../victim");
    QTest::newRow("slash") << QStringLiteral("a/b");
    QTest::newRow("backslash") << QStringLiteral("a\\b");
    QTest::newRow("tab") << QStringLiteral("a\tb");
    QTest::newRow("delete character") << QStringLiteral("a\x7f" "b");
    QTest::newRow("201 characters") << QString(201, QLatin1Char('x'));
}

#endif
