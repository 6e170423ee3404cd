#include "teams/teamcreator.h"

#include <QAction>
#include <QCloseEvent>
#include <QSignalBlocker>
#include <algorithm>

#include "data/skills.h"
#include "data/storename.h"
#include "data/workingfiles.h"
#include "data/xml.h"
#include "teams/teamlist.h"
#include "ui_teamcreator.h"
#include "widgets/plainlines.h"
#include "widgets/statbar.h"
#include "widgets/warning.h"

namespace {

xml* reader()
{
    return xml::getInstance(WorkingFiles::dataFile());
}

} // namespace

TeamCreator::TeamCreator(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui_TeamCreator)
{
    ui->setupUi(this);
    ui->list_faunlet->setDragDropMode(QAbstractItemView::DropOnly);
    // In a dialog, Return would press the first button and move a creature.
    for (QPushButton* button : {ui->btn_upFaunlet, ui->btn_downFaunlet, ui->btn_deleteFaunlet})
        button->setAutoDefault(false);
    setStyleSheet(StatBar::dialogStyleSheet());

    connect(ui->btn_upFaunlet, &QPushButton::clicked, this, &TeamCreator::listUpFaunlet);
    connect(ui->btn_downFaunlet, &QPushButton::clicked, this, &TeamCreator::listDownFaunlet);
    connect(ui->btn_deleteFaunlet, &QPushButton::clicked, this, &TeamCreator::listDeleteFaunlet);
    connect(ui->list_faunlet, &QListWidget::itemChanged, this, &TeamCreator::updateFaunlet);
    connect(ui->list_faunlet, &QListWidget::currentRowChanged, this, &TeamCreator::updateStats);
    connect(ui->list_faunlet, &TeamList::namesDropped, this,
            [this](int row, const QStringList& names) { addFaunlets(names, row); });
    // The buttons' work from the keyboard, while the list has the focus.
    const std::pair<QKeySequence, void (TeamCreator::*)()> keys[]
        = {{Qt::Key_Delete, &TeamCreator::listDeleteFaunlet},
           {Qt::ALT | Qt::Key_Up, &TeamCreator::listUpFaunlet},
           {Qt::ALT | Qt::Key_Down, &TeamCreator::listDownFaunlet}};
    for (const auto& [key, slot] : keys) {
        auto action = new QAction(ui->list_faunlet);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
        ui->list_faunlet->addAction(action);
        connect(action, &QAction::triggered, this, slot);
    }

    ui->comboBox_owner->refresh();
    ui->comboBox_owner->setCurrentIndex(0);
    file->hold(QString());
    connect(ui->lineEdit_TeamName, &QLineEdit::textChanged, file, &EditorFile::formEdited);
    connect(ui->comboBox_owner, &QComboBox::currentTextChanged, file, &EditorFile::formEdited);
}

TeamCreator::~TeamCreator()
{
    // The list outlives this part of the object; its signals must not reach it.
    ui->list_faunlet->disconnect(this);
    delete ui;
}

void TeamCreator::closeEvent(QCloseEvent* event)
{
    if (maybeSave())
        event->accept();
    else
        event->ignore();
}

QStringList TeamCreator::formState() const
{
    QStringList state{ui->lineEdit_TeamName->text(), ui->comboBox_owner->currentText()};
    for (const std::unique_ptr<Faunlet>& faunlet : faunlets)
        state << faunlet->getName();
    return state;
}

bool TeamCreator::isModified() const
{
    return file->isModified();
}

bool TeamCreator::maybeSave()
{
    const QString name = ui->lineEdit_TeamName->text();
    const QString text = name.isEmpty() ? tr("This team has unsaved changes. Save them?")
                                        : tr("The team \"%1\" has unsaved changes. Save them?").arg(name);
    return file->maybeSave(text, [this] { return teamSave(); });
}

void TeamCreator::reject()
{
    // Escape would close the editor and lose the unsaved team; closing is
    // the title bar's job.
}

void TeamCreator::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        // The form's texts would bring back the title "Dialog" and a level of 1.
        const QString title = windowTitle();
        ui->retranslateUi(this);
        setWindowTitle(title);
        updateStats(ui->list_faunlet->currentRow());
    }
}

void TeamCreator::addFaunlets(const QStringList& names, int row)
{
    QListWidget* list = ui->list_faunlet;
    if (row < 0 || row > list->count())
        row = list->count();
    for (const QString& name : names) {
        const int rows = list->count();
        list->insertItem(row, name);
        updateFaunlet(list->item(row));
        // A refused row is gone again, and its item with it.
        if (list->count() > rows)
            ++row;
    }
}

void TeamCreator::updateFaunlet(QListWidgetItem* item)
{
    QListWidget* list = ui->list_faunlet;
    const int row = list->row(item);
    if (row < 0)
        return;
    // Every other row has its record; a row that had one gives it up.
    if (size_t(list->count()) == faunlets.size())
        takeRecord(row);
    const QString name = item->text();
    const bool held = std::any_of(faunlets.cbegin(), faunlets.cend(),
                                  [&name](const std::unique_ptr<Faunlet>& f) { return f->getName() == name; });
    std::unique_ptr<Faunlet> record(held ? nullptr : reader()->getFaunlet(name.toUtf8().toStdString()));
    if (!record) {
        const QSignalBlocker blocker(list);
        delete list->takeItem(row);
        return;
    }
    faunlets.insert(faunlets.begin() + row, std::move(record));
    updateStats(list->currentRow());
    file->formEdited();
}

std::unique_ptr<Faunlet> TeamCreator::takeRecord(int row)
{
    std::unique_ptr<Faunlet> record = std::move(faunlets.at(size_t(row)));
    faunlets.erase(faunlets.begin() + row);
    // The team may still point at it from the last save.
    team->removeFaunlet(record.get());
    return record;
}

void TeamCreator::moveCurrent(int step)
{
    QListWidget* list = ui->list_faunlet;
    const int row = list->currentRow();
    const int target = row + step;
    if (!list->currentItem() || target < 0 || target >= list->count())
        return;
    {
        const QSignalBlocker blocker(list);
        list->insertItem(target, list->takeItem(row));
        list->setCurrentRow(target);
    }
    // The team follows the rows: a save writes the order on screen.
    std::swap(faunlets.at(size_t(row)), faunlets.at(size_t(target)));
    updateStats(target);
    file->formEdited();
}

void TeamCreator::listUpFaunlet()
{
    moveCurrent(-1);
}

void TeamCreator::listDownFaunlet()
{
    moveCurrent(1);
}

void TeamCreator::listDeleteFaunlet()
{
    QListWidget* list = ui->list_faunlet;
    const int row = list->currentRow();
    if (!list->currentItem())
        return;
    takeRecord(row);
    {
        const QSignalBlocker blocker(list);
        delete list->takeItem(row);
    }
    updateStats(list->currentRow());
    file->formEdited();
}

void TeamCreator::updateStats(int currentRow)
{
    if (currentRow < 0 || size_t(currentRow) >= faunlets.size())
        return;
    const Faunlet* faunlet = faunlets.at(size_t(currentRow)).get();
    StatBar::show(ui->progressBar_HP, faunlet->getHealth());
    StatBar::show(ui->progressBar_ATK, faunlet->getAttack());
    StatBar::show(ui->progressBar_DEF, faunlet->getDefense());
    StatBar::show(ui->progressBar_SAT, faunlet->getSAT());
    StatBar::show(ui->progressBar_SDF, faunlet->getSDF());
    StatBar::show(ui->progressBar_SPD, faunlet->getSpeed());
    ui->label_EXP->setText(tr("<font color='blue'>") + QString::number(faunlet->getLevel()) + tr("</font>"));

    ui->textEdit_attackView->clear();
    for (const skills& move : reader()->getSkillsUpTo(faunlet->getName(), faunlet->getLevel()))
        PlainLines::append(ui->textEdit_attackView, move.getName());
}

bool TeamCreator::teamSave()
{
    const QString name = ui->lineEdit_TeamName->text();
    const QString problem = StoreName::problem(name);
    if (!problem.isEmpty()) {
        WarningBox::show(tr("The team cannot be saved under this name. %1").arg(problem));
        return false;
    }
    const QString entry = WorkingFiles::entryOf(name);
    if (!file->mayWrite(entry, tr("The team \"%1\" already exists: replace it?").arg(name),
                        tr("The team file \"%1\" was changed by another program since this editor loaded or saved "
                           "it: replace it?")
                            .arg(entry)))
        return false;
    QList<Faunlet*> members;
    for (const std::unique_ptr<Faunlet>& faunlet : faunlets)
        members << faunlet.get();
    if (!team->updateTeam(name, ui->comboBox_owner->currentText(), members)) {
        WarningBox::show(tr("The team could not be saved: %1").arg(team->lastError()));
        return false;
    }
    file->wrote(entry);
    return true;
}

QString TeamCreator::pickFile()
{
    return file->pick(this, tr("Choose your team"), tr("Teams : "));
}

void TeamCreator::teamLoad()
{
    const QString chosen = pickFile();
    if (!chosen.isEmpty())
        loadFile(chosen);
}

bool TeamCreator::loadFile(const QString& entry)
{
    // Loaded into a team of its own: the records it hands out are ours.
    auto loaded = std::make_unique<classTeam>();
    const bool read = loaded->loadTeam(entry);
    const QList<Faunlet*> members = loaded->getFaunlets();
    std::vector<std::unique_ptr<Faunlet>> records(members.cbegin(), members.cend());
    if (!read || !loaded->lastError().isEmpty()) {
        WarningBox::show(tr("The team file \"%1\" could not be loaded: %2").arg(entry, loaded->lastError()));
        return false;
    }
    team = std::move(loaded);
    for (std::unique_ptr<Faunlet>& record : records)
        faunlets.push_back(std::move(record));

    // A team shown without some of its creatures is not the file: a save
    // under its name asks before writing them out of it.
    const QStringList leftOut = team->leftOut();
    file->hold(leftOut.isEmpty() ? entry : QString(), [this, &members] {
        ui->lineEdit_TeamName->setText(team->getName());
        ui->comboBox_owner->insertItem(0, team->getOwner());
        ui->comboBox_owner->setCurrentIndex(0);
        const QSignalBlocker blocker(ui->list_faunlet);
        for (const Faunlet* faunlet : members)
            ui->list_faunlet->addItem(faunlet->getName());
    });
    if (!leftOut.isEmpty())
        WarningBox::show(tr("The team \"%1\" is shown without the creatures that the data file does not have: %2")
                             .arg(team->getName(), leftOut.join(QStringLiteral(", "))));
    return true;
}
