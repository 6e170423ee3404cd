#ifndef CLASSOWNER_H
#define CLASSOWNER_H

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// One owner, and the store of owner files: one file per owner in the owners
// folder, named after the owner.
class classOwner
{
    Q_DECLARE_TR_FUNCTIONS(classOwner)

public:
    classOwner() = default;
    classOwner(const classOwner& other) = default;
    classOwner& operator=(const classOwner& other) = default;
    explicit classOwner(const QString& ownerName);

    bool loadOwner(const QString& fileName);
    bool addOwner(const QString& name, const QString& sexe, const QString& loc, const QString& imagePath);
    bool updateOwner(const QString& name, const QString& sexe, const QString& loc, const QString& imagePath);
    bool deleteOwner(const QString& name);

    QString get_name() const { return name; }
    QString get_sexe() const { return sexe; }
    QString get_loc() const { return loc; }
    QString get_file() const { return file; }
    QByteArray get_img() const { return img; }

    // Why the last operation failed; empty after a full success. A load
    // that opened its file but could not take all of it says why here.
    QString lastError() const { return error; }

    static QString pathFor(const QString& ownerName);

private:
    enum class Write { NewOnly, Replace };
    bool store(const QString& name, const QString& sexe, const QString& loc, const QString& imagePath, Write mode);
    bool read(const QString& path, bool trace);
    QByteArray document() const;

    QString name;
    QString sexe;
    QString loc;
    QString file;
    QByteArray img;
    QString error;
};

#endif
