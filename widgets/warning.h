#ifndef WARNING_H
#define WARNING_H

#include <QMessageBox>
#include <QString>

// The program's boxes: modal, titled "Warning !", without parent or icon.
// Their texts often carry names from files, so they are always plain text.
class WarningBox
{
public:
    // A single OK button.
    static void show(const QString& text);
    // The button pressed; Escape and closing the box give `escape`.
    static QMessageBox::StandardButton ask(const QString& text, QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton escape);
};

#endif
