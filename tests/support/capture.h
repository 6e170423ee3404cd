#ifndef CAPTURE_H
#define CAPTURE_H

#include <QByteArray>
#include <QTemporaryFile>

// Redirects a standard stream (1 or 2) into a file for its lifetime, so a
// test can read exactly what the code printed.
class Capture
{
public:
    explicit Capture(int fd);
    ~Capture();
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;

    QByteArray text();

private:
    void restore();

    int fd;
    int saved = -1;
    QTemporaryFile file;
};

#endif
