#include "app/fauntome.h"
#include "app/workspaceframe.h"
#include "widgets/warning.h"

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QInputDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPointer>
#include <QShortcut>
#include <QSplashScreen>
#include <QStatusBar>

#include <algorithm>
#include <numeric>
#include <utility>

#include "data/faunlet.h"
#include "data/workingfiles.h"
#include "data/xml.h"
#include "owners/owner.h"
#include "teams/teamcreator.h"
#include "ui_fauntome.h"
#include "viewer/viewfaunlet.h"

Fauntome::Fauntome(QWidget* parent, QSplashScreen* splash)
    : QMainWindow(parent)
    , ui(new Ui_Fauntome)
{
    ui->setupUi(this);
    setStyleSheet(QStringLiteral("QListWidget{ background-image: url(':/images/emberlisk'); background-color : white; "
                                 "background-repeat : no-repeat; background-position : bottom center; "
                                 "background-attachment: fixed;  } QMdiArea{ background : transparent;} "
                                 "QMainWindow{background-image : url(':/images/background'); background-repeat : "
                                 "no-repeat; background-position : center center;}"));
    setGeometry(QRect(geometry().topLeft(), QSize(1280, 800)));
    setWindowState(Qt::WindowMaximized);

    connect(ui->actionExit, &QAction::triggered, this, &Fauntome::exitApplication);
    connect(ui->actionAbout, &QAction::triggered, this, &Fauntome::aboutFauntome);
    connect(ui->actionCascade, &QAction::triggered, this, &Fauntome::windowsCascade);
    connect(ui->actionTiled, &QAction::triggered, this, &Fauntome::windowsTiled);
    connect(ui->lineEdit_search, &QLineEdit::textChanged, this, &Fauntome::processSearch);
    connect(ui->listFaunlet, &QListWidget::itemDoubleClicked, this, &Fauntome::faunletShow);
    // Enter opens too. A double click emits both signals; the second call then
    // finds the viewer the first one opened.
    connect(ui->listFaunlet, &QListWidget::itemActivated, this, &Fauntome::faunletShow);
    connect(ui->actionNew_Owner, &QAction::triggered, this, &Fauntome::ownerNew);
    connect(ui->actionLoad_owner, &QAction::triggered, this, &Fauntome::ownerLoad);
    connect(ui->actionSave_owner, &QAction::triggered, this, &Fauntome::ownerSave);
    connect(ui->actionCreate_new_team, &QAction::triggered, this, &Fauntome::teamCreate);
    connect(ui->actionLoad_team, &QAction::triggered, this, &Fauntome::teamLoad);
    connect(ui->actionSave_team, &QAction::triggered, this, &Fauntome::teamSave);
    setUpTeamAdd();

    ui->mainToolBar->setWindowTitle(tr("Toolbar"));
    ui->mainToolBar->addAction(ui->actionExit);
    ui->mainToolBar->addSeparator();
    ui->mainToolBar->addAction(ui->actionNew_Owner);
    ui->mainToolBar->addAction(ui->actionLoad_owner);
    ui->mainToolBar->addAction(ui->actionSave_owner);
    ui->mainToolBar->addSeparator();
    ui->mainToolBar->addAction(ui->actionCreate_new_team);
    ui->mainToolBar->addAction(ui->actionLoad_team);
    ui->mainToolBar->addAction(ui->actionSave_team);
    ui->mainToolBar->addSeparator();
    ui->mainToolBar->addAction(ui->actionAbout);

    workspace = new QMdiArea;
    setCentralWidget(workspace);
    workspace->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    workspace->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The workspace paints its own grey brush unless told not to; the style
    // sheet's transparency alone does not reach it.
    workspace->setBackground(Qt::NoBrush);

    // The desktop's own keys, which a form cannot name; the form's Ctrl+Q
    // stays where the desktop has no key to quit.
    if (!QKeySequence::keyBindings(QKeySequence::Quit).isEmpty())
        ui->actionExit->setShortcuts(QKeySequence::Quit);
    ui->actionAbout->setShortcuts(QKeySequence::HelpContents);
    ui->actionFind->setShortcuts(QKeySequence::Find);
    ui->actionClose->setShortcuts(QKeySequence::Close);
    ui->actionNext_window->setShortcuts(QKeySequence::NextChild);
    ui->actionPrevious_window->setShortcuts(QKeySequence::PreviousChild);
    connect(ui->actionFind, &QAction::triggered, this, &Fauntome::findCreature);
    connect(ui->actionClose, &QAction::triggered, workspace, &QMdiArea::closeActiveSubWindow);
    connect(ui->actionNext_window, &QAction::triggered, workspace, &QMdiArea::activateNextSubWindow);
    connect(ui->actionPrevious_window, &QAction::triggered, workspace, &QMdiArea::activatePreviousSubWindow);
    QAction* listShown = ui->dockListFaunlet->toggleViewAction();
    listShown->setText(tr("Creature list"));
    listShown->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    connect(listShown, &QAction::triggered, this, [this](bool shown) {
        if (shown)
            ui->listFaunlet->setFocus(Qt::ShortcutFocusReason);
    });
    // Keys must not go on filtering a list the user closed.
    connect(ui->dockListFaunlet, &QDockWidget::visibilityChanged, this, [this](bool shown) {
        if (shown || !ui->dockListFaunlet->isAncestorOf(QApplication::focusWidget()))
            return;
        auto frame = qobject_cast<WorkspaceFrame*>(workspace->currentSubWindow());
        if (!frame || !frame->enter(true))
            setFocus(Qt::OtherFocusReason);
    });
    ui->menuWindows->addAction(listShown);
    windowsCommands = int(ui->menuWindows->actions().size());
    connect(ui->menuWindows, &QMenu::aboutToShow, this, &Fauntome::listWindows);
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this,
            [this] { menuBar()->setActiveAction(menuBar()->actions().constFirst()); });
    ui->lineEdit_search->installEventFilter(this);

    // Every row has the same height; telling the view so keeps filling and
    // filtering large lists cheap.
    ui->listFaunlet->setUniformItemSizes(true);
    QStringList names;
    std::vector<bool> ownNames; // whether a lookup by each row's name finds that row
    typeStarts.push_back(0);
    QElapsedTimer sinceShown;
    sinceShown.start();
    xml* reader = xml::getInstance(WorkingFiles::dataFile());
    for (int n = 1;; ++n) {
        // Only the names and types are listed; the details wait for a viewer.
        bool ownName = true;
        std::unique_ptr<Faunlet> faunlet(reader->getFaunletBrief(n, &ownName));
        if (!faunlet)
            break;
        if (ownName)
            addTypes(faunlet->getType());
        ownNames.push_back(ownName);
        typeStarts.push_back(rowTypes.size());
        names.append(faunlet->getName());
        // Repainting the splash for every creature would cost more than
        // reading it; a few times a second is enough to show progress.
        if (splash && sinceShown.elapsed() >= 100) {
            showProgress(splash, names.size());
            sinceShown.restart();
        }
    }
    if (splash)
        showProgress(splash, names.size());
    ui->listFaunlet->addItems(names);
    nameStarts.reserve(size_t(names.size()) + 1);
    for (const QString& name : std::as_const(names)) {
        nameStarts.push_back(listedNames.size());
        listedNames += name;
    }
    nameStarts.push_back(listedNames.size());
    hiddenRows.assign(size_t(names.size()), false);
    listTypes(names, ownNames);
    connect(ui->comboBox_type, qOverload<int>(&QComboBox::currentIndexChanged), this, &Fauntome::chooseType);
}

// Appends to rowTypes the numbers of `types` that the row does not have yet;
// a type without text has no entry to be chosen by.
void Fauntome::addTypes(const QStringList& types)
{
    const auto rowBegins = std::ptrdiff_t(typeStarts.back());
    for (const QString& type : types) {
        if (type.trimmed().isEmpty())
            continue;
        const auto known = typeIds.constFind(type);
        const int id = known != typeIds.constEnd() ? *known : int(typeNames.size());
        if (id == typeNames.size()) {
            typeIds.insert(type, id);
            typeNames.append(type);
        }
        if (std::find(rowTypes.begin() + rowBegins, rowTypes.end(), id) == rowTypes.end())
            rowTypes.push_back(id);
    }
}

// Gives each row whose name leads elsewhere the types of the creature its
// viewer shows: the listed one the name leads to, or else the one a lookup
// reads. Then fills the selector with every type a row has.
void Fauntome::listTypes(const QStringList& names, const std::vector<bool>& ownNames)
{
    if (std::find(ownNames.begin(), ownNames.end(), false) != ownNames.end()) {
        const std::vector<int> own = std::exchange(rowTypes, {});
        const std::vector<size_t> ownStarts = std::exchange(typeStarts, {0});
        QHash<QString, int> ownRows;
        for (int row = 0; row < int(names.size()); ++row)
            if (ownNames[size_t(row)])
                ownRows.insert(names.at(row), row);
        QHash<QString, QStringList> looked;
        for (int row = 0; row < int(names.size()); ++row) {
            const int from = ownNames[size_t(row)] ? row : ownRows.value(names.at(row), -1);
            if (from >= 0) {
                rowTypes.insert(rowTypes.end(), own.begin() + ownStarts[size_t(from)],
                                own.begin() + ownStarts[size_t(from) + 1]);
            } else {
                auto found = looked.find(names.at(row));
                if (found == looked.end()) {
                    const std::unique_ptr<Faunlet> faunlet(
                        xml::getInstance(WorkingFiles::dataFile())->getFaunlet(names.at(row).toUtf8().toStdString()));
                    found = looked.insert(names.at(row), faunlet ? faunlet->getType() : QStringList());
                }
                addTypes(*found);
            }
            typeStarts.push_back(rowTypes.size());
        }
    }

    std::vector<int> order(size_t(typeNames.size()));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [this](int a, int b) {
        const int folded = typeNames.at(a).compare(typeNames.at(b), Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : typeNames.at(a) < typeNames.at(b);
    });
    for (int id : order)
        ui->comboBox_type->addItem(typeNames.at(id), id);
}

void Fauntome::showProgress(QSplashScreen* splash, int count)
{
    const QString text = count == 1 ? tr("1 creature read") : tr("%1 creatures read").arg(count);
    splash->showMessage(text, Qt::AlignBottom | Qt::AlignLeft, Qt::white);
}

Fauntome::~Fauntome()
{
    // Destroying the children hides the dock, whose handler reads the form.
    ui->dockListFaunlet->disconnect(this);
    delete ui;
}

bool Fauntome::confirmQuit()
{
    // Every changed editor first, so that nothing is lost behind the
    // question; Cancel on any of them keeps the program running.
    for (QMdiSubWindow* frame : workspace->subWindowList(QMdiArea::CreationOrder)) {
        auto owner = qobject_cast<Owner*>(frame->widget());
        auto team = qobject_cast<TeamCreator*>(frame->widget());
        const bool modified = owner ? owner->isModified() : team && team->isModified();
        if (!modified)
            continue;
        workspace->setActiveSubWindow(frame);
        if (!(owner ? owner->maybeSave() : team->maybeSave()))
            return false;
    }
    return QMessageBox::question(this, tr("Fauntome"), tr("Voulez-vous vraiment quitter ?"),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton)
        == QMessageBox::Yes;
}

void Fauntome::exitApplication()
{
    if (confirmQuit())
        QApplication::exit(0);
}

void Fauntome::closeEvent(QCloseEvent* event)
{
    if (confirmQuit()) {
        QApplication::exit(0);
        event->accept();
    } else {
        event->ignore();
    }
}

void Fauntome::aboutFauntome()
{
    auto box = new QMessageBox;
    box->setWindowTitle(tr("About..."));
    box->setWindowIcon(QIcon(QStringLiteral(":/images/icon")));
    box->setText(QStringLiteral("<html><img src=':/images/splash'/> "
                                "Fauntome<br/>Ines Varlet<br/>Tomas Ekwall<br/>Odile Marchetti</html>"));
    QPointer<QMdiSubWindow> frame = workspace->addSubWindow(box);
    // The box works out its size, and adds its OK button, only when shown;
    // the workspace had sized the frame before that and cut the button off.
    frame->show();
    frame->resize(frame->sizeHint());
    // Grown where it was placed, it may reach out of view; the top left
    // corner wins when the view is too small for all of it.
    const QRect view = workspace->viewport()->rect();
    QRect placed = frame->geometry();
    placed.moveRight(std::min(placed.right(), view.right()));
    placed.moveBottom(std::min(placed.bottom(), view.bottom()));
    placed.moveLeft(std::max(placed.left(), view.left()));
    placed.moveTop(std::max(placed.top(), view.top()));
    frame->move(placed.topLeft());
    // Only a top-level dialog picks its default button by itself; without one
    // Enter would do nothing here.
    box->setDefaultButton(QMessageBox::Ok);

    // A box inside the workspace is not a top-level window, so modality alone
    // would not stop the user: keep everything else disabled while it runs.
    QList<QPointer<QWidget>> blocked{menuBar(), ui->mainToolBar, ui->dockListFaunlet};
    for (QMdiSubWindow* other : workspace->subWindowList())
        if (other != frame)
            blocked.append(other);
    for (QWidget* widget : std::as_const(blocked))
        widget->setEnabled(false);

    box->exec();

    for (const QPointer<QWidget>& widget : std::as_const(blocked))
        if (widget)
            widget->setEnabled(true);
    delete frame; // takes the box with it
}

void Fauntome::processSearch(const QString& text)
{
    searchText = text;
    filterRows();
}

void Fauntome::chooseType(int entry)
{
    chosenType = entry > 0 ? ui->comboBox_type->itemData(entry).toInt() : -1;
    filterRows();
}

void Fauntome::filterRows()
{
    QListWidget* list = ui->listFaunlet;
    // Every row shown or hidden asks for a repaint of its own; one for the
    // whole keystroke is enough.
    QWidget* viewport = list->viewport();
    const bool updates = viewport->updatesEnabled();
    viewport->setUpdatesEnabled(false);
    // The names are matched in one block of memory rather than item by item,
    // and only rows whose state changes are touched: with thousands of rows,
    // reaching into each item is what a keystroke would cost.
    const int rows = int(hiddenRows.size());
    for (int i = 0; i < rows; ++i) {
        const QStringView name
            = QStringView(listedNames).mid(nameStarts[size_t(i)], nameStarts[size_t(i) + 1] - nameStarts[size_t(i)]);
        bool hide = !name.contains(searchText, Qt::CaseInsensitive);
        if (!hide && chosenType >= 0) {
            const auto begins = rowTypes.begin() + typeStarts[size_t(i)];
            const auto ends = rowTypes.begin() + typeStarts[size_t(i) + 1];
            hide = std::find(begins, ends, chosenType) == ends;
        }
        if (hiddenRows[size_t(i)] != hide) {
            list->setRowHidden(i, hide);
            hiddenRows[size_t(i)] = hide;
        }
    }
    viewport->setUpdatesEnabled(updates);
}

bool Fauntome::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->lineEdit_search && event->type() == QEvent::KeyPress) {
        const auto press = static_cast<QKeyEvent*>(event);
        const int key = press->key();
        if ((press->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        if (key == Qt::Key_Escape && !ui->lineEdit_search->text().isEmpty()) {
            ui->lineEdit_search->clear();
            return true;
        }
        if (key == Qt::Key_Down || key == Qt::Key_Return || key == Qt::Key_Enter) {
            toFirstCreature();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool Fauntome::focusNextPrevChild(bool next)
{
    // The workspace's turn comes after the list: the active window, entered
    // from its first field, or from its last one going backwards.
    auto frame = qobject_cast<WorkspaceFrame*>(workspace->currentSubWindow());
    if (frame && focusWidget() == (next ? static_cast<QWidget*>(ui->listFaunlet) : ui->lineEdit_search)
        && frame->enter(next))
        return true;
    return QMainWindow::focusNextPrevChild(next);
}

void Fauntome::findCreature()
{
    ui->dockListFaunlet->show();
    ui->lineEdit_search->setFocus(Qt::ShortcutFocusReason);
    ui->lineEdit_search->selectAll();
}

void Fauntome::toFirstCreature()
{
    const auto first = std::find(hiddenRows.cbegin(), hiddenRows.cend(), false);
    if (first == hiddenRows.cend())
        return;
    QListWidget* list = ui->listFaunlet;
    const int row = int(first - hiddenRows.cbegin());
    list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    list->scrollToItem(list->item(row));
    list->setFocus(Qt::OtherFocusReason);
}

namespace {

// The title as Qt shows it: the placeholder "[*]" is the mark while the
// window is modified and nothing otherwise; doubled, it stands for itself.
QString shownTitle(const QWidget* window)
{
    const QString title = window->windowTitle();
    const QLatin1String mark("[*]");
    QString shown;
    for (qsizetype at = 0; at < title.size();) {
        if (QStringView(title).mid(at).startsWith(QStringLiteral("[*][*]"))) {
            shown += mark;
            at += 6;
        } else if (QStringView(title).mid(at).startsWith(mark)) {
            if (window->isWindowModified())
                shown += QLatin1Char('*');
            at += 3;
        } else {
            shown += title.at(at++);
        }
    }
    return shown;
}

} // namespace

void Fauntome::listWindows()
{
    QMenu* menu = ui->menuWindows;
    const QList<QAction*> entries = menu->actions();
    for (qsizetype i = windowsCommands; i < entries.size(); ++i)
        delete entries.at(i);
    const QList<QMdiSubWindow*> frames = workspace->subWindowList(QMdiArea::CreationOrder);
    if (!frames.isEmpty())
        menu->addSeparator();
    for (qsizetype i = 0; i < frames.size(); ++i) {
        const QPointer<QMdiSubWindow> frame = frames.at(i);
        const QString title = shownTitle(frame->widget() ? frame->widget() : frame.data());
        // Only the first nine get a key, one digit each.
        const QString number = i < 9 ? QStringLiteral("&%1").arg(i + 1) : QString::number(i + 1);
        QAction* entry = menu->addAction(number + QLatin1Char(' ')
                                         + QString(title).replace(QLatin1Char('&'), QLatin1String("&&")));
        entry->setCheckable(true);
        entry->setChecked(frame == workspace->currentSubWindow());
        connect(entry, &QAction::triggered, workspace, [this, frame] {
            if (frame)
                workspace->setActiveSubWindow(frame);
        });
    }
}

void Fauntome::showSaved(const QString& kind, const QString& name)
{
    statusBar()->showMessage(tr("%1 %2 saved").arg(kind, name), 5000);
}

QMdiSubWindow* Fauntome::addWindow(QWidget* window)
{
    // Tab leaves a window for the search field, Shift+Tab for the list.
    auto frame = new WorkspaceFrame(ui->lineEdit_search, ui->listFaunlet);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->setWidget(window);
    workspace->addSubWindow(frame);
    // A window that closes itself (Escape in a dialog) is deleted without
    // its frame noticing; the empty frame would stay in the workspace.
    connect(window, &QObject::destroyed, frame, &QObject::deleteLater);
    return frame;
}

QWidget* Fauntome::activeEditor(const QString& iconText, const QMetaObject& kind, const QString& noWindow,
                                const QString& otherWindow)
{
    QMdiSubWindow* frame = workspace->currentSubWindow();
    QWidget* active = frame ? frame->widget() : nullptr;
    if (!active) {
        WarningBox::show(noWindow);
        return nullptr;
    }
    // Any other window wearing that icon text gets the warning too, rather
    // than a save that silently does nothing.
    if (active->windowIconText() != iconText || !kind.cast(active)) {
        WarningBox::show(otherWindow);
        return nullptr;
    }
    return active;
}

template <typename Editor> void Fauntome::pickAndLoad(Editor* editor)
{
    // The picker runs a modal loop; the editor may be gone when it returns.
    QPointer<Editor> alive(editor);
    const QString entry = editor->pickFile();
    if (!alive)
        return;
    QMdiSubWindow* holder = nullptr;
    for (QMdiSubWindow* frame : workspace->subWindowList(QMdiArea::CreationOrder)) {
        auto other = qobject_cast<Editor*>(frame->widget());
        if (other && other != editor && other->editorFile().holds(entry)) {
            holder = frame;
            break;
        }
    }
    if (holder || (!entry.isEmpty() && !editor->loadFile(entry))) {
        // Its frame goes at once, taking it along: there is nothing in it to
        // save, and the workspace must not list it meanwhile.
        delete editor->parentWidget();
        if (holder)
            workspace->setActiveSubWindow(holder);
        return;
    }
    editor->show();
}

Owner* Fauntome::newOwnerEditor()
{
    auto editor = new Owner;
    addWindow(editor);
    const EditorFile* file = &editor->editorFile();
    connect(file, &EditorFile::written, this, [this, file] { showSaved(tr("Owner"), file->heldName()); });
    return editor;
}

void Fauntome::ownerNew()
{
    Owner* editor = newOwnerEditor();
    editor->startOwner();
    editor->show();
}

void Fauntome::ownerSave()
{
    if (auto editor
        = qobject_cast<Owner*>(activeEditor(QStringLiteral("Owner"), Owner::staticMetaObject,
                                            tr("You must open Owner window"), tr("You are not in Owner window."))))
        editor->saveOwner();
}

void Fauntome::ownerLoad()
{
    pickAndLoad(newOwnerEditor());
}

TeamCreator* Fauntome::newTeamEditor()
{
    auto editor = new TeamCreator;
    editor->setAttribute(Qt::WA_DeleteOnClose);
    addWindow(editor);
    editor->setWindowIconText(QStringLiteral("TeamCreator"));
    const EditorFile* file = &editor->editorFile();
    connect(file, &EditorFile::written, this, [this, file] { showSaved(tr("Team"), file->heldName()); });
    connect(editor, &QObject::destroyed, this, &Fauntome::updateTeamAdd, Qt::QueuedConnection);
    updateTeamAdd();
    return editor;
}

void Fauntome::teamCreate()
{
    newTeamEditor()->show();
}

void Fauntome::teamLoad()
{
    pickAndLoad(newTeamEditor());
}

void Fauntome::teamSave()
{
    if (auto editor
        = qobject_cast<TeamCreator*>(activeEditor(QStringLiteral("TeamCreator"), TeamCreator::staticMetaObject,
                                                  tr("You must open Team window"), tr("You are not in Team window."))))
        editor->teamSave();
}

void Fauntome::setUpTeamAdd()
{
    // Creatures join a team without dragging: from the list's context menu,
    // or with Insert while the list has the focus.
    teamAddAction = new QAction(tr("Add to team"), ui->listFaunlet);
    teamAddAction->setObjectName(QStringLiteral("actionAdd_to_team"));
    teamAddAction->setShortcut(Qt::Key_Insert);
    teamAddAction->setShortcutContext(Qt::WidgetShortcut);
    teamAddAction->setEnabled(false);
    ui->listFaunlet->addAction(teamAddAction);
    ui->listFaunlet->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(teamAddAction, &QAction::triggered, this, &Fauntome::teamAdd);
}

void Fauntome::updateTeamAdd()
{
    const QList<QMdiSubWindow*> frames = workspace->subWindowList();
    teamAddAction->setEnabled(std::any_of(frames.cbegin(), frames.cend(), [](const QMdiSubWindow* frame) {
        return qobject_cast<const TeamCreator*>(frame->widget()) != nullptr;
    }));
}

void Fauntome::teamAdd()
{
    QList<int> rows;
    for (const QModelIndex& index : ui->listFaunlet->selectionModel()->selectedIndexes())
        if (!hiddenRows[size_t(index.row())])
            rows << index.row();
    std::sort(rows.begin(), rows.end());
    // Without a selection, the row the keyboard is on: a list just tabbed
    // into has one.
    const int current = ui->listFaunlet->currentRow();
    if (rows.isEmpty() && current >= 0 && !hiddenRows[size_t(current)])
        rows << current;
    QStringList names;
    for (int row : std::as_const(rows))
        names << ui->listFaunlet->item(row)->text();
    // The editor active last comes first.
    QList<QPointer<TeamCreator>> editors;
    QStringList titles;
    const QList<QMdiSubWindow*> frames = workspace->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto frame = frames.crbegin(); frame != frames.crend(); ++frame) {
        auto editor = qobject_cast<TeamCreator*>((*frame)->widget());
        if (!editor)
            continue;
        editors << editor;
        QString title = shownTitle(editor);
        // Editors of new teams share a title; the picker tells them apart.
        const QString shared = title;
        for (int n = 2; titles.contains(title); ++n)
            title = QStringLiteral("%1 (%2)").arg(shared).arg(n);
        titles << title;
    }
    if (names.isEmpty() || editors.isEmpty())
        return;
    QPointer<TeamCreator> target = editors.first();
    if (editors.size() > 1) {
        bool ok = false;
        const QString chosen = QInputDialog::getItem(this, tr("Add to team"), tr("Team : "), titles, 0, false, &ok);
        target = ok ? editors.value(titles.indexOf(chosen)) : nullptr;
    }
    // The picker's modal loop may have seen the editor closed.
    if (target)
        target->addFaunlets(names);
}

void Fauntome::windowsCascade()
{
    workspace->cascadeSubWindows();
}

void Fauntome::windowsTiled()
{
    workspace->tileSubWindows();
}

void Fauntome::faunletShow(QListWidgetItem* item)
{
    if (!item)
        return;
    const QString text = item->text();
    for (QMdiSubWindow* frame : workspace->subWindowList(QMdiArea::CreationOrder)) {
        const QWidget* window = frame->widget() ? frame->widget() : frame;
        // An editor goes by its kind alone, as before its title named what
        // it holds.
        const bool editor = qobject_cast<const Owner*>(window) || qobject_cast<const TeamCreator*>(window);
        if ((editor ? window->windowIconText() : window->windowTitle()) == text) {
            workspace->setActiveSubWindow(frame);
            return;
        }
    }

    const std::unique_ptr<Faunlet> faunlet(
        xml::getInstance(WorkingFiles::dataFile())->getFaunlet(text.toUtf8().toStdString()));
    auto viewer = new viewFaunlet;
    viewer->setWindowsName(text);
    viewer->setFaunlet(faunlet.get());
    addWindow(viewer);
    viewer->show();
}
