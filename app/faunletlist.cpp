#include "app/faunletlist.h"

void FaunletList::startDrag(Qt::DropActions supportedActions)
{
    QListWidget::startDrag(supportedActions & Qt::CopyAction);
}
