#ifndef WARNING_H
#define WARNING_H

#include <QString>
#include <functional>

// The program's boxes: modal, titled "Warning !", without parent or icon.
// Their texts often carry names from files, so they are always plain text.
class WarningBox
{
public:
    // A single OK button.
    static void show(const QString& text);
    // Yes or No; Enter and Escape say No.
    static bool confirm(const QString& text);
    // Save, Discard or Cancel, as text editors ask before unsaved work goes:
    // true when the caller may go on, that is after Discard, or after Save
    // when `save` succeeded. Enter and Escape cancel.
    static bool offerToSave(const QString& text, const std::function<bool()>& save);
};

#endif
