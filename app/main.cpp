#include <QApplication>
#include <QDir>
#include <QSplashScreen>
#include <memory>

#include "app/fauntome.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);

    QDir dir = QDir::current();
    if (!dir.exists(QStringLiteral("./owners")))
        dir.mkdir(QStringLiteral("./owners"));
    if (!dir.exists(QStringLiteral("./teams")))
        dir.mkdir(QStringLiteral("./teams"));

    auto splash = std::make_unique<QSplashScreen>(QPixmap(QStringLiteral(":/images/splash")));
    splash->show();

    Fauntome window;
    window.show();
    splash->finish(&window);
    // The splash outlives the window's construction but not the application.
    return app.exec();
}
