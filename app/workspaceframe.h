#ifndef WORKSPACEFRAME_H
#define WORKSPACEFRAME_H

#include <QList>
#include <QMdiSubWindow>
#include <QPointer>

// The frame of a window in the main window's workspace. Qt keeps Tab going
// round inside a frame; here Tab past the last field leaves for `after` and
// Shift+Tab before the first for `before`, so the keyboard gets out again.
class WorkspaceFrame : public QMdiSubWindow
{
    Q_OBJECT

public:
    WorkspaceFrame(QWidget* after, QWidget* before);

    // Focuses the window's first field (its last one backwards); false when
    // it has none.
    bool enter(bool forward);

protected:
    bool focusNextPrevChild(bool next) override;

private:
    // What Tab stops at inside the frame, in order.
    QList<QWidget*> fields() const;

    QPointer<QWidget> after;
    QPointer<QWidget> before;
};

#endif
