#ifndef WARNING_H
#define WARNING_H

#include <QString>

// The program's one kind of complaint: a modal "Warning !" box without parent
// or icon, with a single OK button.
class warning
{
public:
    static void show(const QString& text);
};

#endif
