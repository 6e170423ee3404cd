#ifndef EDITORFILE_H
#define EDITORFILE_H

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// What an editor of store files keeps about the file it works on: which entry
// of its store folder it loaded or last saved, what that file held then, and
// what the form was then. Saving over any other file, or over that one once
// another program has changed it, asks first; closing with changes offers to
// save them. Entries are file names in the folder, ".xml" included. The
// editor's title names its kind and the held file, and marks changes.
class EditorFile : public QObject
{
    Q_OBJECT

public:
    // `formState` reads the form as a save would write it; `editor`, the
    // window of that form, is titled after `kind`.
    EditorFile(const QString& folder, const QString& kind, std::function<QStringList()> formState, QWidget* editor);

    // The folder's entries in a picker; the chosen one, or empty when the
    // user cancelled or there was nothing to choose.
    QString pick(QWidget* parent, const QString& title, const QString& label) const;

    // The entry this editor holds; empty when none.
    QString held() const { return heldEntry; }
    // The name of the held file, as the title shows it; empty when none.
    QString heldName() const;
    // Whether `entry` is the held file, by the file it leads to.
    bool holds(const QString& entry) const;
    // The form now shows `entry` (none when empty) as the file is on disk now.
    // What `fill` does to the form on the way is not an edit of the user's.
    void hold(const QString& entry, const std::function<void()>& fill = {});
    // As hold(), after a save wrote `entry`.
    void wrote(const QString& entry);

    // Whether a save may write `entry`. An existing file the editor does not
    // hold asks `replace`; the held file, changed on disk since it was taken,
    // asks `changed`. Anything else goes ahead (a deleted file is written
    // again; one that cannot be read fails the write with its own message).
    bool mayWrite(const QString& entry, const QString& replace, const QString& changed) const;

    bool isModified() const;
    // Asks `text` (Save, Discard or Cancel) when the form has changes;
    // false when the user wants to keep the editor.
    bool maybeSave(const QString& text, const std::function<bool()>& save) const;

public slots:
    // The form may have changed.
    void formEdited();

signals:
    void heldChanged(const QString& entry);
    void modificationChanged(bool modified);
    void written(const QString& entry);

private:
    QString identity(const QString& entry) const;

    QWidget* editor = nullptr;
    QString kind;
    QString folder;
    std::function<QStringList()> state;
    QString heldEntry;
    QString heldIdentity;
    QByteArray heldDigest;
    QStringList unchanged;
    bool modified = false;
    bool filling = false;
};

#endif
