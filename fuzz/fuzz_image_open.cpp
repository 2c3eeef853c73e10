// libFuzzer target: any bytes as a picture file opened by File > Open.
#include "fuzz_limits.h"
#include "gui/host/image_files.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

struct Session {
    int argc = 1;
    char name[16] = "fuzz_image_open";
    char* argv[2] = {name, nullptr};
    QCoreApplication application{argc, argv};
    QTemporaryDir folder;
};

// The image decoders are plugins, which need an application object to be found. It lives to the
// end of the process: Qt's own statics are gone before any static of this file could be destroyed.
Session& TheSession() {
    static Session* const session = new Session;
    return *session;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // A plan may take the picture limit twice over while it is converted.
    vantrel::fuzzing::AddLimits(
        argc, argv, {.seconds = 20, .residentMegabytes = 1536, .allocationMegabytes = 768});
    TheSession();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = TheSession().folder.filePath("plan");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();
    vantrel::ReadImageFile(path);
    return 0;
}
