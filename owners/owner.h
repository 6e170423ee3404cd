#ifndef OWNER_H
#define OWNER_H

#include <QDialog>
#include <QStringList>
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
    // True when the owner was written; otherwise the user has been told why,
    // or chose not to replace another owner's file.
    bool saveOwner();
    void loadOwner();

    // The form differs from what was last loaded or saved.
    bool isModified() const;
    // Offers to save changes; false when the user wants to keep the editor.
    bool maybeSave();
    // Escape closes like the title bar does, through the same question.
    void reject() override;

public slots:
    void closeEvent(QCloseEvent* event) override;
    void chooseFileName();

protected:
    void changeEvent(QEvent* event) override;

private:
    QStringList formState() const;

    Ui_Owner* ui = nullptr;
    std::unique_ptr<classOwner> owner;
    // The file this editor loaded or last saved: saving over it asks nothing.
    QString ownFile;
    QStringList unchanged;
};

#endif
