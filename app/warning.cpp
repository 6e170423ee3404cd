#include "app/warning.h"

#include <QCoreApplication>
#include <QMessageBox>

void warning::show(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::translate("warning", "Warning !"), text);
    box.exec();
}
