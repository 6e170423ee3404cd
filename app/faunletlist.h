#ifndef FAUNLETLIST_H
#define FAUNLETLIST_H

#include <QListWidget>

// The main creature list. Names are dragged out of it into team editors; a
// drag that the target turned into a move (Shift held) would take the
// creature out of the encyclopedia, so drags from here only ever copy.
class FaunletList : public QListWidget
{
    Q_OBJECT

public:
    using QListWidget::QListWidget;

protected:
    void startDrag(Qt::DropActions supportedActions) override;
};

#endif
