#ifndef TEAMCREATOR_H
#define TEAMCREATOR_H

#include <QDialog>
#include <QList>
#include <QSet>
#include <QStringList>
#include <memory>

#include "teams/classteam.h"

class Faunlet;
class QCloseEvent;
class QEvent;
class QListWidgetItem;
class Ui_TeamCreator;

// Window composing one team. It owns the team's records; `faunlets` stays in
// the order of the rows of list_faunlet, so what is saved is what is shown.
class TeamCreator : public QDialog
{
    Q_OBJECT

public:
    explicit TeamCreator(QWidget* parent = nullptr);
    ~TeamCreator() override;

    // True when the team was written; otherwise the user has been told why,
    // or chose not to replace another team's file.
    bool teamSave();
    void teamLoad();
    void reject() override;

    // Name, owner or members differ from what was last loaded or saved.
    bool isModified();
    // Offers to save changes; false when the user wants to keep the editor.
    bool maybeSave();

public slots:
    void closeEvent(QCloseEvent* event) override;
    void listUpFaunlet();
    void listDownFaunlet();
    void listDeleteFaunlet();
    void updateFaunlet(QListWidgetItem* item);
    void updateStats(int currentRow);

protected:
    void changeEvent(QEvent* event) override;

private:
    void settleDrops();
    void moveCurrent(int step);
    Faunlet* recordAt(int row) const;
    QStringList formState() const;
    void markUnchanged();

    Ui_TeamCreator* ui = nullptr;
    std::unique_ptr<classTeam> team = std::make_unique<classTeam>();
    QList<Faunlet*> faunlets;
    // Rows a drop has written, not yet matched with a record.
    QSet<const QListWidgetItem*> dropped;
    bool settleQueued = false;
    // The file this editor loaded or last saved: saving over it asks nothing.
    QString ownFile;
    QStringList unchanged;
};

#endif
