#include "owners/owner.h"

#include "widgets/guardedimage.h"
#include "widgets/warning.h"

#include <QCloseEvent>
#include <QEvent>
#include <QFileDialog>
#include <QIcon>
#include <QPixmap>

#include "data/storename.h"
#include "data/workingfiles.h"
#include "ui_owner.h"

namespace {

// The avatar whole, as large as the label holds, its aspect kept; the form
// centres it. None for a null image.
void showAvatar(QLabel* label, const QImage& image)
{
    if (image.isNull()) {
        label->setPixmap(QPixmap());
        return;
    }
    const qreal ratio = label->devicePixelRatioF();
    QPixmap fitted = QPixmap::fromImage(
        image.scaled(label->contentsRect().size() * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    fitted.setDevicePixelRatio(ratio);
    label->setPixmap(fitted);
}

} // namespace

Owner::Owner(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui_Owner)
{
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/images/avatar")));
    setStyleSheet(QStringLiteral("QDialog{ background-image : url(':/images/faunback2');}"));
    setWindowIconText(QStringLiteral("Owner"));
    connect(ui->btn_choodFilename, &QPushButton::clicked, this, &Owner::chooseFileName);
    setAttribute(Qt::WA_DeleteOnClose);
    file->hold(QString());
    connect(ui->lineEdit_name, &QLineEdit::textChanged, file, &EditorFile::formEdited);
    connect(ui->lineEdit_Avatar, &QLineEdit::textChanged, file, &EditorFile::formEdited);
    connect(ui->radioButton_boy, &QRadioButton::toggled, file, &EditorFile::formEdited);
}

Owner::~Owner()
{
    delete ui;
}

void Owner::startOwner()
{
    owner = std::make_unique<classOwner>();
}

QStringList Owner::formState() const
{
    return {ui->lineEdit_name->text(),
            ui->radioButton_boy->isChecked() ? QStringLiteral("boy") : QStringLiteral("girl"),
            ui->lineEdit_Avatar->text()};
}

bool Owner::isModified() const
{
    return file->isModified();
}

bool Owner::maybeSave()
{
    const QString name = ui->lineEdit_name->text();
    const QString text = name.isEmpty() ? tr("This owner has unsaved changes. Save them?")
                                        : tr("The owner \"%1\" has unsaved changes. Save them?").arg(name);
    return file->maybeSave(text, [this] { return saveOwner(); });
}

void Owner::reject()
{
    close();
}

void Owner::closeEvent(QCloseEvent* event)
{
    if (!maybeSave()) {
        event->ignore();
        return;
    }
    event->accept();
    owner.reset();
}

void Owner::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

void Owner::chooseFileName()
{
    const QString path
        = QFileDialog::getOpenFileName(this, tr("Open Avatar"), QStringLiteral("."), tr("Pictures (*.jpg *.png)"));
    // The form must never show another avatar than a save would store: a
    // cancelled choice changes nothing, and so does a file that is no picture.
    if (path.isEmpty())
        return;
    const GuardedImage picture = GuardedImage::fromFile(path);
    if (picture.image().isNull()) {
        WarningBox::show(tr("\"%1\" cannot be used as an avatar: %2").arg(path, picture.problem()));
        return;
    }
    ui->lineEdit_Avatar->setText(path);
    showAvatar(ui->label_avatar, picture.image());
    repaint();
}

bool Owner::saveOwner()
{
    const QString name = ui->lineEdit_name->text();
    // Checked here too so the user hears why before the disk is touched.
    const QString problem = StoreName::problem(name);
    if (!problem.isEmpty()) {
        WarningBox::show(tr("The owner could not be saved: %1").arg(problem));
        return false;
    }
    const QString entry = WorkingFiles::entryOf(name);
    if (!file->mayWrite(entry, tr("The owner \"%1\" already exists: replace it?").arg(name),
                        tr("The owner file \"%1\" was changed by another program since this editor loaded or saved "
                           "it: replace it?")
                            .arg(entry)))
        return false;
    // An editor whose load was cancelled has no record: start one from the form.
    if (!owner)
        owner = std::make_unique<classOwner>();
    const QString sexe = ui->radioButton_boy->isChecked() ? QStringLiteral("masculin") : QStringLiteral("feminin");
    if (!owner->updateOwner(name, sexe, QStringLiteral("DTC"), ui->lineEdit_Avatar->text())) {
        WarningBox::show(tr("The owner could not be saved: %1").arg(owner->lastError()));
        return false;
    }
    file->wrote(entry);
    return true;
}

QString Owner::pickFile()
{
    return file->pick(this, tr("Choose your owner"), tr("Owners : "));
}

void Owner::loadOwner()
{
    const QString chosen = pickFile();
    if (!chosen.isEmpty())
        loadFile(chosen);
}

bool Owner::loadFile(const QString& chosen)
{
    auto loaded = std::make_unique<classOwner>();
    // A file that cannot be taken whole leaves the editor empty, so that a
    // later save under that name asks before replacing what may be repaired.
    if (!loaded->loadOwner(chosen) || !loaded->lastError().isEmpty()) {
        WarningBox::show(tr("The owner file \"%1\" could not be loaded: %2").arg(chosen, loaded->lastError()));
        return false;
    }
    owner = std::move(loaded);
    file->hold(chosen, [this] {
        ui->lineEdit_name->setText(owner->get_name());
        // Names no picture, so a later save keeps the avatar read from the file.
        ui->lineEdit_Avatar->setText(QStringLiteral("innerXMLfile"));
        const bool boy = owner->get_sexe() == QLatin1String("masculin");
        ui->radioButton_boy->setChecked(boy);
        ui->radioButton_Girl->setChecked(!boy);
        showAvatar(ui->label_avatar, GuardedImage(owner->get_img(), GuardedImage::Format::Jpeg).image());
    });
    return true;
}
