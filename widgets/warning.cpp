#include "widgets/warning.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace {

QMessageBox::StandardButton run(const QString& text, QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton safest)
{
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::translate("WarningBox", "Warning !"), text, buttons);
    box.setTextFormat(Qt::PlainText);
    if (safest != QMessageBox::NoButton) {
        box.setEscapeButton(safest);
        box.setDefaultButton(safest);
    }
    const int pressed = box.exec();
    return box.clickedButton() ? QMessageBox::StandardButton(pressed) : safest;
}

} // namespace

void WarningBox::show(const QString& text)
{
    run(text, QMessageBox::NoButton, QMessageBox::NoButton);
}

bool WarningBox::confirm(const QString& text)
{
    return run(text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

bool WarningBox::offerToSave(const QString& text, const std::function<bool()>& save)
{
    switch (run(text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Cancel)) {
    case QMessageBox::Save:
        return save();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}
