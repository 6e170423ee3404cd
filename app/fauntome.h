#ifndef FAUNTOME_H
#define FAUNTOME_H

#include <QMainWindow>

class QCloseEvent;
class QListWidgetItem;
class QMdiArea;
class Ui_Fauntome;

// The main window: creature list in a dock, every other window inside the
// workspace.
class Fauntome : public QMainWindow
{
    Q_OBJECT

public:
    explicit Fauntome(QWidget* parent = nullptr);
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
    void windowsCascade();
    void windowsTiled();
    void faunletShow(QListWidgetItem* item);

private:
    bool confirmQuit();
    QWidget* activeWindow() const;

    Ui_Fauntome* ui = nullptr;
    QMdiArea* workspace = nullptr;
};

#endif
