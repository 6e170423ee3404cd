#include <QApplication>
#include <QDir>
#include <QSplashScreen>
#include <memory>

#include "app/fauntome.h"
#include "data/workingfiles.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);

    QDir dir = QDir::current();
    for (const QString& folder : {WorkingFiles::owners(), WorkingFiles::teams()})
        if (!dir.exists(folder))
            dir.mkdir(folder);

    // Owned here rather than leaked: it only has to outlive the window's
    // construction, during which it reports progress.
    auto splash = std::make_unique<QSplashScreen>(QPixmap(QStringLiteral(":/images/splash")));
    splash->show();
    app.processEvents();

    Fauntome window(nullptr, splash.get());
    window.show();
    splash->finish(&window);
    return app.exec();
}
