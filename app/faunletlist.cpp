#include "app/faunletlist.h"

void faunletlist::startDrag(Qt::DropActions supportedActions)
{
    QListWidget::startDrag(supportedActions & Qt::CopyAction);
}
