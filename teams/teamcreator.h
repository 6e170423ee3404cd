#ifndef TEAMCREATOR_H
#define TEAMCREATOR_H

#include <QDialog>
#include <QStringList>
#include <memory>
#include <vector>

#include "data/faunlet.h"
#include "teams/classteam.h"

class QCloseEvent;
class QEvent;
class QListWidgetItem;
class Ui_TeamCreator;

// Window composing one team. It owns the team's records, one per row of
// list_faunlet and in the same order, so what is saved is what is shown.
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
    bool isModified() const;
    // Offers to save changes; false when the user wants to keep the editor.
    bool maybeSave();

public slots:
    void closeEvent(QCloseEvent* event) override;
    void listUpFaunlet();
    void listDownFaunlet();
    void listDeleteFaunlet();
    // A row without a record (one just dropped, or written over) gets its
    // creature's, or leaves the list when the team holds that creature
    // already or the data file does not know it.
    void updateFaunlet(QListWidgetItem* item);
    void updateStats(int currentRow);

protected:
    void changeEvent(QEvent* event) override;

private:
    void takeDrop(int row, const QStringList& names);
    void moveCurrent(int step);
    std::unique_ptr<Faunlet> takeRecord(int row);
    QStringList formState() const;
    void markUnchanged();

    Ui_TeamCreator* ui = nullptr;
    std::unique_ptr<classTeam> team = std::make_unique<classTeam>();
    std::vector<std::unique_ptr<Faunlet>> faunlets;
    // The file this editor loaded or last saved: saving over it asks nothing.
    QString ownFile;
    QStringList unchanged;
};

#endif
