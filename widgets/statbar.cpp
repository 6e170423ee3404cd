#include "widgets/statbar.h"

#include <QProgressBar>

void StatBar::show(QProgressBar* bar, int value)
{
    const bool inRange = value >= bar->minimum() && value <= bar->maximum();
    bar->setFormat(inRange ? QStringLiteral("%p") : QString::number(value));
    bar->setValue(qBound(bar->minimum(), value, bar->maximum()));
}

QString StatBar::dialogStyleSheet()
{
    return QStringLiteral(
        "QProgressBar { text-align: center; font-weight : bold; border: 2px solid grey; border-radius: 5px; } "
        "QProgressBar::chunk { background-color: #05B8CC; width: 20px;} "
        "QDialog{ background-image : url(':/images/faunback');}");
}
