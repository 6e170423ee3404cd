#ifndef DIALOGS_H
#define DIALOGS_H

#include <QMessageBox>
#include <QString>
#include <functional>

// Modal dialogs block the test, so they are answered from a timer that waits
// for them to appear. The callback runs on the dialog once, then the timer
// stops.
void whenDialogShown(const std::function<bool(QWidget*)>& accept, const std::function<void(QWidget*)>& act);

// Answers the next message box with `button`; `seen` receives its title and
// text ("title|text") when not null.
void answerMessageBox(QMessageBox::StandardButton button, QString* seen = nullptr);

// Answers the next item picker (QInputDialog::getItem) with `choice`, or
// cancels it when `choice` is null; `items` receives what it offered.
void answerItemPicker(const QString& choice, QStringList* items = nullptr);

#endif
