#ifndef OWNER_H
#define OWNER_H

#include <QDialog>
#include <QStringList>
#include <memory>

#include "data/workingfiles.h"
#include "owners/classowner.h"
#include "widgets/editorfile.h"

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
    // or chose not to replace a file.
    bool saveOwner();
    // Picks an owner file and loads it.
    void loadOwner();
    // The owner file the user picks; empty when none.
    QString pickFile();
    // Fills the editor from that entry of the owners folder; false, after
    // telling the user why, when it cannot be taken whole.
    bool loadFile(const QString& entry);
    const EditorFile& editorFile() const { return *file; }

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
    EditorFile* file = new EditorFile(
        WorkingFiles::owners(), QStringLiteral("Owner"), [this] { return formState(); }, this);
};

#endif
