#include "viewer/statbar.h"

#include <QProgressBar>

void statbar::show(QProgressBar* bar, int value)
{
    const bool inRange = value >= bar->minimum() && value <= bar->maximum();
    bar->setFormat(inRange ? QStringLiteral("%p") : QString::number(value));
    bar->setValue(qBound(bar->minimum(), value, bar->maximum()));
}
