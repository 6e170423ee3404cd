// libFuzzer entry for one body, chosen at build time with FUZZ_BODY.
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <iostream>
#include <sstream>

#include "fuzzbodies.h"

namespace {

std::ostringstream sink;

void quiet(QtMsgType, const QMessageLogContext&, const QString&)
{
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The readers trace and complain on the standard streams; at thousands
    // of inputs a second that noise would drown the fuzzer's own report.
    std::cout.rdbuf(sink.rdbuf());
    std::cerr.rdbuf(sink.rdbuf());
    qInstallMessageHandler(quiet);
    // Every input is written to a file there; on a disk, truncating and
    // rewriting it thousands of times a second costs more than reading it.
    static QTemporaryDir scratch(QDir(QStringLiteral("/dev/shm")).exists()
                                     ? QStringLiteral("/dev/shm/fauntome-fuzz-XXXXXX")
                                     : QDir::tempPath() + QStringLiteral("/fauntome-fuzz-XXXXXX"));
    QDir::setCurrent(scratch.path());
    fuzzbodies::prepare();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    sink.str(std::string());
    return fuzzbodies::FUZZ_BODY(data, size);
}
