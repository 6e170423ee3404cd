// Preloaded into the unpacked program by the package test, so the program has no
// test hook: presses Enter on the first creature until its picture shows, then exits 42.

#include <QtWidgets>

static void start()
{
    auto timer = new QTimer(QCoreApplication::instance());
    QObject::connect(timer, &QTimer::timeout, [] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            const auto picture = window->findChild<QLabel*>(QStringLiteral("label_pictureFaunlet"));
            if (picture && !picture->pixmap().isNull())
                return QCoreApplication::exit(42);
            if (const auto list = window->findChild<QListWidget*>(QStringLiteral("listFaunlet"))) {
                list->setCurrentRow(0);
                QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
                QApplication::sendEvent(list, &enter);
            }
        }
    });
    timer->start(100);
}

Q_COREAPP_STARTUP_FUNCTION(start)
