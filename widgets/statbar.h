#ifndef STATBAR_H
#define STATBAR_H

class QProgressBar;
class QString;

// Statistic bars run from 0 to 100, but statistics may not. Out of range, the
// bar shows the clamped value with the true number as its text; in range it
// is an ordinary "%p" bar.
class StatBar
{
public:
    static void show(QProgressBar* bar, int value);
    // The bars' look and the creature background, shared by every dialog
    // that shows statistics.
    static QString dialogStyleSheet();
};

#endif
