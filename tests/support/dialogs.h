#ifndef DIALOGS_H
#define DIALOGS_H

#include <QList>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

// Modal dialogs block the test, so they are answered from a timer that waits
// for them to appear. The callback runs on the dialog once, then the timer
// stops.
void whenDialogShown(const std::function<bool(QWidget*)>& accept, const std::function<void(QWidget*)>& act);

// What a user reads of a text shown in the given format: markup rendered
// away, or the characters themselves.
QString displayedText(const QString& text, Qt::TextFormat format);

// A window's title as Qt shows it, with or without the unsaved mark.
QString shownTitle(const QWidget* window);

using Answers = QList<QMessageBox::StandardButton>;

// Keys pressed on a box's focused button, in an `Answers` list as a button.
inline constexpr auto EnterKey = QMessageBox::StandardButton(1);
inline constexpr auto EscapeKey = QMessageBox::StandardButton(2);

// Answers every message box shown while it lives, in turn with the given
// buttons and with Escape once they run out, so a test never hangs on a box
// it did not expect; `seen` holds "title|text" of each box in order, the text
// as displayed.
class MessageBoxes
{
public:
    explicit MessageBoxes(Answers buttons = {});

    QStringList seen;

private:
    Answers answers;
    QTimer timer;
};

// Answers the next item picker (QInputDialog::getItem) with `choice`, or
// cancels it when `choice` is null; `items` receives what it offered.
void answerItemPicker(const QString& choice, QStringList* items = nullptr);

#endif
