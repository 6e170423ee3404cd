#include "support/capture.h"

#include <cstdio>
#include <iostream>
#include <unistd.h>

Capture::Capture(int fd)
    : fd(fd)
{
    std::cout.flush();
    std::fflush(nullptr);
    if (file.open()) {
        saved = ::dup(fd);
        ::dup2(file.handle(), fd);
    }
}

Capture::~Capture()
{
    restore();
}

void Capture::restore()
{
    if (saved < 0)
        return;
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    ::dup2(saved, fd);
    ::close(saved);
    saved = -1;
}

QByteArray Capture::text()
{
    restore();
    file.seek(0);
    return file.readAll();
}
