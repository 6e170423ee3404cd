#ifndef DOMFILE_H
#define DOMFILE_H

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

class QDomDocument;

// Reading and writing the small XML files of owners and teams, which users
// copy around: a broken or hostile file reads as an empty document, never as
// a half-built tree, and a write either replaces the file whole or leaves the
// old one as it was.
class DomFile
{
    Q_DECLARE_TR_FUNCTIONS(DomFile)

public:
    // Deeper nesting than any owner or team file has; the document tree is
    // torn down recursively, so unbounded depth would exhaust the stack.
    static constexpr int maxDepth = 64;

    // False when the file cannot be opened, with the reason in `error`.
    // Otherwise true, and `doc` holds the file; or nothing when the file is
    // not well-formed or nested too deeply, with where and why in `error`.
    static bool read(const QString& path, QDomDocument& doc, QString* error = nullptr);
    // Whether `path` is a plain file that read() takes whole, with a root
    // element named `root`. Reads the file through without building a tree.
    static bool hasRoot(const QString& path, const QString& root);

    // Replaces `path` atomically; true only when every byte was written and
    // the new file took the old one's place.
    static bool write(const QString& path, const QByteArray& content, QString* error = nullptr);
};

#endif
