#ifndef PLAINLINES_H
#define PLAINLINES_H

class QString;
class QTextEdit;

// Appends a paragraph as plain text whatever it holds: a move name from the
// data file that looks like markup must not turn into markup, as
// QTextEdit::append would make it.
class PlainLines
{
public:
    static void append(QTextEdit* edit, const QString& line);
};

#endif
