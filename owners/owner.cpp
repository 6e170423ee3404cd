#include "owners/owner.h"

#include "app/warning.h"

#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QIcon>
#include <QImage>
#include <QInputDialog>
#include <QMessageBox>
#include <QPixmap>

#include "data/storename.h"
#include "ui_owner.h"

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
}

Owner::~Owner()
{
    delete ui;
}

void Owner::startOwner()
{
    owner = std::make_unique<classOwner>();
}

void Owner::closeEvent(QCloseEvent* event)
{
    QDialog::closeEvent(event);
    if (event->isAccepted())
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
    ui->lineEdit_Avatar->setText(path);
    ui->label_avatar->setPixmap(QPixmap(path));
    repaint();
}

bool Owner::saveOwner()
{
    const QString name = ui->lineEdit_name->text();
    // Checked here too so the user hears why before the disk is touched.
    const QString problem = storename::problem(name);
    if (!problem.isEmpty()) {
        warning::show(tr("The owner could not be saved: %1").arg(problem));
        return false;
    }
    // An editor whose load was cancelled has no record: start one from the form.
    if (!owner)
        owner = std::make_unique<classOwner>();
    const QString sexe = ui->radioButton_boy->isChecked() ? QStringLiteral("masculin") : QStringLiteral("feminin");
    if (!owner->updateOwner(name, sexe, QStringLiteral("DTC"), ui->lineEdit_Avatar->text())) {
        warning::show(tr("The owner could not be saved: %1").arg(owner->lastError()));
        return false;
    }
    return true;
}

void Owner::loadOwner()
{
    QStringList names = QDir(QStringLiteral("./owners/"))
                            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    bool ok = false;
    const QString chosen
        = QInputDialog::getItem(this, tr("Choose your owner"), tr("Owners : "), names, 0, false, &ok);
    if (!ok || chosen.isEmpty())
        return;

    owner = std::make_unique<classOwner>();
    owner->loadOwner(chosen);
    ui->lineEdit_name->setText(owner->get_name());
    // Names no picture, so a later save keeps the avatar read from the file.
    ui->lineEdit_Avatar->setText(QStringLiteral("innerXMLfile"));
    const bool boy = owner->get_sexe() == QLatin1String("masculin");
    ui->radioButton_boy->setChecked(boy);
    ui->radioButton_Girl->setChecked(!boy);
    ui->label_avatar->setPixmap(QPixmap::fromImage(QImage::fromData(owner->get_img(), "JPEG")));
}
