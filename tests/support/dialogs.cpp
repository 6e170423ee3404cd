#include "support/dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QPointer>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>

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

QString displayedText(const QString& text, Qt::TextFormat format)
{
    if (format == Qt::PlainText || (format == Qt::AutoText && !Qt::mightBeRichText(text)))
        return text;
    QTextDocument document;
    document.setHtml(text);
    return document.toPlainText();
}

QString shownTitle(const QWidget* window)
{
    const QString mark = window->isWindowModified() ? "*" : "";
    return window->windowTitle().replace("[*][*]", "\n").replace("[*]", mark).replace('\n', "[*]");
}

MessageBoxes::MessageBoxes(Answers buttons)
    : answers(std::move(buttons))
{
    QObject::connect(&timer, &QTimer::timeout, [this] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto box = qobject_cast<QMessageBox*>(widget);
            if (!box || !box->isVisible())
                continue;
            seen << box->windowTitle() + QLatin1Char('|') + displayedText(box->text(), box->textFormat());
            const QMessageBox::StandardButton answer = answers.isEmpty() ? QMessageBox::NoButton : answers.takeFirst();
            QAbstractButton* button = box->button(answer);
            if (answer == EnterKey || answer == EscapeKey)
                QTest::keyClick(box->focusWidget() ? box->focusWidget() : box,
                                answer == EnterKey ? Qt::Key_Return : Qt::Key_Escape);
            else if (button)
                button->click();
            else
                QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
    });
    timer.start(10);
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
