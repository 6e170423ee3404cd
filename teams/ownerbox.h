#ifndef OWNERBOX_H
#define OWNERBOX_H

#include <QComboBox>

// The team editor's choice of owner. The owner files are listed again each
// time the list opens, so that an owner saved after the editor opened is
// there.
class OwnerBox : public QComboBox
{
    Q_OBJECT

public:
    using QComboBox::QComboBox;

    // Lists the readable owner files, sorted without regard to case, without
    // ".xml"; keeps the current choice.
    void refresh();
    void showPopup() override;
};

#endif
