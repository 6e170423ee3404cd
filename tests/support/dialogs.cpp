#include "support/dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QPointer>
#include <QTimer>

void whenDialogShown(const std::function<bool(QWidget*)>& accept, const std::function<void(QWidget*)>& act)
{
    auto timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, tries, accept, act] {
        for (QWidget* widget : QApplication::allWidgets()) {
            if (widget->isVisible() && accept(widget)) {
                timer->stop();
                timer->deleteLater();
                act(widget);
                return;
            }
        }
        // Give up after ten seconds rather than hang the suite.
        if (++*tries > 1000) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
}

void answerMessageBox(QMessageBox::StandardButton button, QString* seen)
{
    whenDialogShown([](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; },
                    [button, seen](QWidget* w) {
                        auto box = static_cast<QMessageBox*>(w);
                        if (seen)
                            *seen = box->windowTitle() + QLatin1Char('|') + box->text();
                        QAbstractButton* target = box->button(button);
                        if (!target && !box->buttons().isEmpty())
                            target = box->buttons().first();
                        if (target)
                            target->click();
                    });
}

void answerItemPicker(const QString& choice, QStringList* items)
{
    whenDialogShown([](QWidget* w) { return qobject_cast<QInputDialog*>(w) != nullptr; },
                    [choice, items](QWidget* w) {
                        auto picker = static_cast<QInputDialog*>(w);
                        if (items)
                            *items = picker->comboBoxItems();
                        if (choice.isNull())
                            return picker->reject();
                        picker->setTextValue(choice);
                        picker->accept();
                    });
}
