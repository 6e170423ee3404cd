// Loaded into the unpacked program with LD_PRELOAD by the package test, so
// that the program itself carries no test hook. Once the main window lists
// its creatures, it opens the first one as a user would (Enter on the
// selected row) and ends the program with status 42 as soon as the viewer
// shows a picture, or with 1 when none comes within 20 s.

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <cstdio>

namespace {

void look(const QElapsedTimer& since, QString& opened)
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const auto picture = window->findChild<QLabel*>(QStringLiteral("label_pictureFaunlet"));
        if (picture && !picture->pixmap().isNull()) {
            std::fprintf(stderr, "probe: the viewer of %s shows a %dx%d picture\n", qPrintable(opened),
                         picture->pixmap().width(), picture->pixmap().height());
            QCoreApplication::exit(42);
            return;
        }
        const auto list = window->findChild<QListWidget*>(QStringLiteral("listFaunlet"));
        if (opened.isEmpty() && list && list->count() > 0) {
            list->setCurrentRow(0);
            opened = list->currentItem()->text();
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(list, &enter);
        }
    }
    if (since.hasExpired(20000)) {
        std::fprintf(stderr, "probe: %s\n", opened.isEmpty() ? "no creature to open" : "the viewer shows no picture");
        QCoreApplication::exit(1);
    }
}

void start()
{
    auto timer = new QTimer(QCoreApplication::instance());
    QElapsedTimer since;
    since.start();
    QObject::connect(timer, &QTimer::timeout, [since, opened = QString()]() mutable { look(since, opened); });
    timer->start(100);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(start)
