#include "widgets/plainlines.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

void PlainLines::append(QTextEdit* edit, const QString& line)
{
    QTextDocument* document = edit->document();
    QTextCursor end(document);
    end.movePosition(QTextCursor::End);
    const QTextCursor current = edit->textCursor();
    if (document->isEmpty())
        end.setCharFormat(current.charFormat());
    else
        end.insertBlock(current.blockFormat(), current.charFormat());
    end.insertText(line);
}
