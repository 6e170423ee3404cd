#ifndef TEAMCREATOR_H
#define TEAMCREATOR_H

#include <QDialog>
#include <QStringList>
#include <memory>
#include <vector>

#include "data/faunlet.h"
#include "data/workingfiles.h"
#include "teams/classteam.h"
#include "widgets/editorfile.h"

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
    // or chose not to replace a file.
    bool teamSave();
    // Picks a team file and loads it.
    void teamLoad();
    // The team file the user picks; empty when none.
    QString pickFile();
    // Shows that entry of the teams folder; false, after telling the user
    // why, when it cannot be read. Creatures the data file lacks are left
    // out, and the user told which; the file is then not this editor's own.
    bool loadFile(const QString& entry);
    const EditorFile& editorFile() const { return *file; }
    void reject() override;
    // Adds the named creatures in order at `row`, past the last row when out
    // of range; what a drop does. Names the team holds or the data file
    // lacks are refused.
    void addFaunlets(const QStringList& names, int row = -1);

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
    void moveCurrent(int step);
    std::unique_ptr<Faunlet> takeRecord(int row);
    QStringList formState() const;

    Ui_TeamCreator* ui = nullptr;
    std::unique_ptr<classTeam> team = std::make_unique<classTeam>();
    std::vector<std::unique_ptr<Faunlet>> faunlets;
    EditorFile* file = new EditorFile(
        WorkingFiles::teams(), QStringLiteral("TeamCreator"), [this] { return formState(); }, this);
};

#endif
