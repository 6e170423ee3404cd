#include "widgets/editorfile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QWidget>

#include "data/workingfiles.h"
#include "widgets/warning.h"

namespace {

// Null when the file cannot be read.
QByteArray digestOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result();
}

} // namespace

EditorFile::EditorFile(const QString& folder, const QString& kind, std::function<QStringList()> formState,
                       QWidget* editor)
    : QObject(editor)
    , editor(editor)
    , kind(kind)
    , folder(folder)
    , state(std::move(formState))
{
}

QString EditorFile::pick(QWidget* parent, const QString& title, const QString& label) const
{
    bool ok = false;
    const QString chosen = QInputDialog::getItem(parent, title, label, WorkingFiles::entries(folder), 0, false, &ok);
    return ok ? chosen : QString();
}

QString EditorFile::identity(const QString& entry) const
{
    const QFileInfo file(folder + entry);
    if (file.exists())
        return file.canonicalFilePath();
    // Gone, or not yet written: the same place in the folder all the same.
    const QString place = QFileInfo(file.absolutePath()).canonicalFilePath();
    return place.isEmpty() ? file.absoluteFilePath() : place + QLatin1Char('/') + file.fileName();
}

bool EditorFile::holds(const QString& entry) const
{
    return !heldEntry.isEmpty() && !entry.isEmpty() && identity(entry) == heldIdentity;
}

QString EditorFile::heldName() const
{
    const QLatin1String extension(".xml");
    return heldEntry.endsWith(extension) ? heldEntry.chopped(extension.size()) : heldEntry;
}

void EditorFile::hold(const QString& entry, const std::function<void()>& fill)
{
    // The form passes through states the user never made: the mark must not
    // flicker on while it fills.
    filling = true;
    if (fill)
        fill();
    filling = false;
    const bool other = entry != heldEntry;
    heldEntry = entry;
    heldIdentity = entry.isEmpty() ? QString() : identity(entry);
    heldDigest = entry.isEmpty() ? QByteArray() : digestOf(folder + entry);
    unchanged = state();
    formEdited();
    // A name holding Qt's mark placeholder would carry the mark in the middle.
    const QString name = heldName().replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
    editor->setWindowTitle(name.isEmpty() ? kind + QLatin1String("[*]")
                                          : kind + QStringLiteral(" \u2013 ") + name + QLatin1String("[*]"));
    if (other)
        emit heldChanged(heldEntry);
}

void EditorFile::wrote(const QString& entry)
{
    hold(entry);
    emit written(entry);
}

bool EditorFile::mayWrite(const QString& entry, const QString& replace, const QString& changed) const
{
    const QString path = folder + entry;
    if (!holds(entry))
        return !QFileInfo::exists(path) || WarningBox::confirm(replace);
    const QByteArray now = digestOf(path);
    return now.isNull() || now == heldDigest || WarningBox::confirm(changed);
}

bool EditorFile::isModified() const
{
    return state() != unchanged;
}

void EditorFile::formEdited()
{
    if (filling || isModified() == modified)
        return;
    modified = !modified;
    editor->setWindowModified(modified);
    emit modificationChanged(modified);
}

bool EditorFile::maybeSave(const QString& text, const std::function<bool()>& save) const
{
    return !isModified() || WarningBox::offerToSave(text, save);
}
