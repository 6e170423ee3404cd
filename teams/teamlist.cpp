#include "teams/teamlist.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>

bool TeamList::dropMimeData(int index, const QMimeData* data, Qt::DropAction action)
{
    const QString format = QStringLiteral("application/x-qabstractitemmodeldatalist");
    if (action != Qt::CopyAction || !data->hasFormat(format))
        return false;
    // The model's own format: row, column and the item's roles, per item.
    QByteArray encoded = data->data(format);
    QDataStream stream(&encoded, QIODevice::ReadOnly);
    QStringList names;
    while (!stream.atEnd()) {
        int row = 0;
        int column = 0;
        QMap<int, QVariant> roles;
        stream >> row >> column >> roles;
        if (stream.status() != QDataStream::Ok)
            return false;
        names << roles.value(Qt::DisplayRole).toString();
    }
    emit namesDropped(index, names);
    return true;
}
