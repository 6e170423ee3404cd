#ifndef TEAMLIST_H
#define TEAMLIST_H

#include <QListWidget>
#include <QStringList>

// The team editor's list of creatures, the mirror of the main list's
// drag-only class: a drop hands the dropped names to the editor at once,
// which decides which of them join the team and inserts their rows itself.
class TeamList : public QListWidget
{
    Q_OBJECT

public:
    using QListWidget::QListWidget;

signals:
    // Names dropped to go in at `row`.
    void namesDropped(int row, const QStringList& names);

protected:
    bool dropMimeData(int index, const QMimeData* data, Qt::DropAction action) override;
};

#endif
