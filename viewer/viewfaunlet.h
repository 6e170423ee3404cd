#ifndef VIEWFAUNLET_H
#define VIEWFAUNLET_H

#include <QDialog>
#include <QMap>
#include <QString>
#include <memory>

class Faunlet;
class QCloseEvent;
class Ui_viewFaunlet;
class network;

// The window that shows one creature. It is filled once, before it is shown,
// and destroyed when closed; only the artwork arrives later.
class viewFaunlet : public QDialog
{
    Q_OBJECT

public:
    explicit viewFaunlet(QWidget* parent = nullptr);
    ~viewFaunlet() override;

    void setWindowsName(QString name);
    // Reads the record (possibly null) without keeping it.
    void setFaunlet(Faunlet* faunlet);
    QString getPictureType(QString type) const;
    // The window's own downloader, for following or tuning its transfer.
    network* getNetwork() const { return net.get(); }

public slots:
    void closeEvent(QCloseEvent* event) override;
    void printPicture(int e, bool error);

private:
    QString windowName;
    std::unique_ptr<Ui_viewFaunlet> ui;
    QMap<QString, QString> pictureTypes;
    // Last member, so it goes first: its transfer is dropped while the form
    // it would write into still stands.
    std::unique_ptr<network> net;
};

#endif
