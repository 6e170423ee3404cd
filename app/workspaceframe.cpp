#include "app/workspaceframe.h"

#include <QMenu>

WorkspaceFrame::WorkspaceFrame(QWidget* after, QWidget* before)
    : after(after)
    , before(before)
{
    // The main window's Close takes these keys; with two owners a key does
    // nothing at all.
    for (QAction* action : systemMenu()->actions())
        if (action->shortcuts() == QKeySequence::keyBindings(QKeySequence::Close))
            action->setShortcuts({});
}

QList<QWidget*> WorkspaceFrame::fields() const
{
    QList<QWidget*> found;
    for (QWidget* widget = nextInFocusChain(); widget != this; widget = widget->nextInFocusChain())
        if (isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !widget->focusProxy()
            && widget->isEnabled() && widget->isVisibleTo(this))
            found.append(widget);
    return found;
}

bool WorkspaceFrame::enter(bool forward)
{
    const QList<QWidget*> stops = fields();
    if (stops.isEmpty())
        return false;
    (forward ? stops.first() : stops.last())->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

bool WorkspaceFrame::focusNextPrevChild(bool next)
{
    const QList<QWidget*> stops = fields();
    QWidget* out = next ? after : before;
    if ((stops.isEmpty() || focusWidget() == (next ? stops.last() : stops.first())) && out && out->isVisible()
        && out->isEnabled()) {
        out->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    return QMdiSubWindow::focusNextPrevChild(next);
}
