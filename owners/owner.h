#ifndef OWNER_H
#define OWNER_H

#include <QDialog>
#include <memory>

#include "owners/classowner.h"

class QCloseEvent;
class QEvent;
class Ui_Owner;

// Edits one owner (name, sex, avatar) inside the main window's workspace.
class Owner : public QDialog
{
    Q_OBJECT

public:
    explicit Owner(QWidget* parent = nullptr);
    ~Owner() override;

    void startOwner();
    // True when the owner was written; otherwise the user has been told why.
    bool saveOwner();
    void loadOwner();

public slots:
    void closeEvent(QCloseEvent* event) override;
    void chooseFileName();

protected:
    void changeEvent(QEvent* event) override;

private:

    Ui_Owner* ui = nullptr;
    std::unique_ptr<classOwner> owner;
};

#endif
