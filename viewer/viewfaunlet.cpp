#include "viewer/viewfaunlet.h"

#include <QCloseEvent>
#include <QPixmap>
#include <algorithm>

#include "data/faunlet.h"
#include "data/skills.h"
#include "data/workingfiles.h"
#include "data/xml.h"
#include "ui_viewfaunlet.h"
#include "viewer/artwork.h"
#include "viewer/httpclient.h"
#include "viewer/network.h"
#include "widgets/plainlines.h"
#include "widgets/statbar.h"

viewFaunlet::viewFaunlet(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui_viewFaunlet>())
    , net(std::make_unique<network>())
{
    ui->setupUi(this);
    // Names and descriptions come from a data file anyone can edit: shown as
    // rich text, an image tag in them would make the label read any file,
    // a FIFO or /dev/zero included, on the GUI thread.
    ui->label_nameFaunlet->setTextFormat(Qt::PlainText);
    ui->label_Description->setTextFormat(Qt::PlainText);
    ui->label_Evolution->setTextFormat(Qt::RichText);
    setWindowIcon(QIcon(QStringLiteral(":/images/icon")));
    setStyleSheet(StatBar::dialogStyleSheet());
    connect(net->getHttpPointer(), &HttpClient::requestFinished, this, &viewFaunlet::printPicture);
    setAttribute(Qt::WA_DeleteOnClose);

    const char* const words[] = {"Bug",    "Dark", "Dragon", "Electric", "Fighting", "Fire", "Flying", "Ghost", "Grass",
                                 "Ground", "Ice",  "Normal", "Poison",   "Psychic",  "Rock", "Steel",  "Water"};
    for (const char* word : words) {
        const QString type = QString::fromLatin1(word);
        pictureTypes.insert(type, QStringLiteral("<img src=':/types/") + type.toLower() + QStringLiteral("'/>"));
    }
}

viewFaunlet::~viewFaunlet() = default;

void viewFaunlet::setWindowsName(QString name)
{
    windowName = name;
    setWindowTitle(windowName);
}

QString viewFaunlet::getPictureType(QString type) const
{
    return pictureTypes.value(type, QStringLiteral("Unknow type"));
}

void viewFaunlet::setFaunlet(Faunlet* faunlet)
{
    if (!faunlet) {
        ui->label_nameFaunlet->setText(QStringLiteral("ERROR"));
        return;
    }
    net->getImgFaunlet(faunlet->getName().toLower());

    ui->label_nameFaunlet->setText(faunlet->getName());
    ui->label_numberFaunlet->setText(QString::number(faunlet->getId()));

    StatBar::show(ui->progressBar_Attack, faunlet->getAttack());
    StatBar::show(ui->progressBar_HP, faunlet->getHealth());
    StatBar::show(ui->progressBar_Defense, faunlet->getDefense());
    StatBar::show(ui->progressBar_SPA, faunlet->getSAT());
    StatBar::show(ui->progressBar_SPD, faunlet->getSDF());
    StatBar::show(ui->progressBar_Speed, faunlet->getSpeed());

    ui->label_Weight->setText(QString::number(double(faunlet->getWeight()), 'g', 6));
    ui->label_Height->setText(QString::number(double(faunlet->getHeight()), 'g', 6));
    ui->label_Description->setText(faunlet->getDescription());

    const QStringList types = faunlet->getType();
    const qsizetype count = types.size();
    ui->label_Type->clear();
    for (qsizetype i = 0; i < count; ++i) {
        QString text = ui->label_Type->text() + getPictureType(types.at(i));
        if (i + 1 < count)
            text += QStringLiteral("  ");
        ui->label_Type->setText(text);
    }

    const QString when = faunlet->getLvlEvo();
    // Only a whole number is a level; anything else (a trade, friendship)
    // is a condition, and "at lvl." would state a level that does not exist.
    const bool level
        = std::all_of(when.begin(), when.end(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
    if (when.isEmpty())
        ui->label_Evolution->setText(QStringLiteral("<font color='red'>Does not change</font>"));
    else
        ui->label_Evolution->setText(
            faunlet->getNameEvo().toHtmlEscaped() + (level ? QStringLiteral("  (at lvl. ") : QStringLiteral("  ("))
            + QStringLiteral("<font color='green'>") + when.toHtmlEscaped() + QStringLiteral("</font>)"));

    for (const skills& move :
         xml::getInstance(WorkingFiles::dataFile())->getSkillsUpTo(faunlet->getName(), xml::maxLevel))
        PlainLines::append(ui->textEdit_Attacks,
                           QString::number(move.getLvl()) + QStringLiteral(" \t ") + move.getName());
}

void viewFaunlet::closeEvent(QCloseEvent* event)
{
    // The window is only deleted later; a transfer finishing in between would
    // still land in it.
    net->getHttpPointer()->abort();
    event->accept();
}

void viewFaunlet::printPicture(int e, bool error)
{
    Q_UNUSED(e);
    if (error)
        return;
    ui->label_pictureFaunlet->setPixmap(QPixmap::fromImage(Artwork::decode(net->getPicture())));
}
