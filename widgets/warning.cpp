#include "widgets/warning.h"

#include <QCoreApplication>

namespace {

QMessageBox::StandardButton run(const QString& text, QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton escape)
{
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::translate("WarningBox", "Warning !"), text, buttons);
    box.setTextFormat(Qt::PlainText);
    if (escape != QMessageBox::NoButton) {
        box.setEscapeButton(escape);
        box.setDefaultButton(escape);
    }
    const int pressed = box.exec();
    return box.clickedButton() ? QMessageBox::StandardButton(pressed) : escape;
}

} // namespace

void WarningBox::show(const QString& text)
{
    run(text, QMessageBox::NoButton, QMessageBox::NoButton);
}

QMessageBox::StandardButton WarningBox::ask(const QString& text, QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton escape)
{
    return run(text, buttons, escape);
}
