#ifndef FAUNTOME_H
#define FAUNTOME_H

#include <QHash>
#include <QMainWindow>
#include <QStringList>
#include <vector>

class Owner;
class QAction;
class QCloseEvent;
class QListWidgetItem;
class QMdiArea;
class QMdiSubWindow;
class QSplashScreen;
class TeamCreator;
class Ui_Fauntome;

// The main window: creature list in a dock, every other window inside the
// workspace.
class Fauntome : public QMainWindow
{
    Q_OBJECT

public:
    // While the list fills, `splash` (if any) shows how many creatures were read.
    explicit Fauntome(QWidget* parent = nullptr, QSplashScreen* splash = nullptr);
    ~Fauntome() override;

public slots:
    void exitApplication();
    void aboutFauntome();
    void closeEvent(QCloseEvent* event) override;
    void processSearch(const QString& text);
    void ownerNew();
    void ownerSave();
    void ownerLoad();
    void teamCreate();
    void teamLoad();
    void teamSave();
    // Adds the selected creatures to a team editor: the only one open, or
    // the one the user picks.
    void teamAdd();
    void windowsCascade();
    void windowsTiled();
    void faunletShow(QListWidgetItem* item);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    static void showProgress(QSplashScreen* splash, int count);
    void addTypes(const QStringList& types);
    void listTypes(const QStringList& names, const std::vector<bool>& ownNames);
    void chooseType(int entry);
    void filterRows();
    bool confirmQuit();
    QMdiSubWindow* addWindow(QWidget* window);
    Owner* newOwnerEditor();
    TeamCreator* newTeamEditor();
    // Says in the status bar that `kind` `name` was saved.
    void showSaved(const QString& kind, const QString& name);
    void findCreature();
    // Makes the first creature shown current, alone selected, and focuses
    // the list.
    void toFirstCreature();
    // The Windows menu's entries after its commands: one per open window.
    void listWindows();
    void setUpTeamAdd();
    // "Add to team" is offered only while a team editor is open.
    void updateTeamAdd();
    // Loads the file picked in the new `editor`, unless an open editor of
    // its kind holds that file already: that one comes forward instead. A
    // failed load closes the new editor; a cancelled choice shows it empty.
    template <typename Editor> void pickAndLoad(Editor* editor);
    // The workspace's active window when it is the editor a save command
    // wants (by icon text and kind); otherwise warns and returns null.
    QWidget* activeEditor(const QString& iconText, const QMetaObject& kind, const QString& noWindow,
                          const QString& otherWindow);

    Ui_Fauntome* ui = nullptr;
    QMdiArea* workspace = nullptr;
    // The listed names end to end, where each begins (and where the last
    // ends), and which rows the search and the type selector hide; nothing
    // else hides rows.
    QString listedNames;
    std::vector<qsizetype> nameStarts;
    std::vector<bool> hiddenRows;
    // Each row's types as numbers into typeNames, end to end, and where each
    // row's begin (and where the last row's end).
    QStringList typeNames;
    QHash<QString, int> typeIds;
    std::vector<int> rowTypes;
    std::vector<size_t> typeStarts;
    QString searchText;
    int chosenType = -1;     // -1: all types
    int windowsCommands = 0; // entries of the Windows menu before its window list
    QAction* teamAddAction = nullptr;
};

#endif
