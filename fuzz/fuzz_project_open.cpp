// libFuzzer target: any bytes as a project file opened by File > Open Project: read and checked,
// then its plan painted and its lines drawn on a map and an inset as opening the project does.
#include "fuzz_limits.h"
#include "gui/app/project_check.h"
#include "gui/host/picture_surface.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

using namespace vantrel;

// About what the inset shows of a map: its scale in the main window.
constexpr double kInsetScale = 0.12;

struct Session {
    int argc = 1;
    char name[18] = "fuzz_project_open";
    char* argv[2] = {name, nullptr};
    QApplication application{argc, argv};
    QTemporaryDir folder;
    PictureSurface map;
    PictureSurface inset;
};

// Lives to the end of the process, as Qt's own statics are gone before any static of this file
// could be destroyed.
Session& TheSession() {
    static Session* const session = new Session;
    return *session;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    vantrel::fuzzing::AddLimits(
        argc, argv, {.seconds = 20, .residentMegabytes = 1536, .allocationMegabytes = 768});
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Session& session = TheSession();
    session.map.resizeUnits(960, 720);
    session.inset.resizeUnits(240, 180);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Session& session = TheSession();
    const QString path = session.folder.filePath("project.vantrel");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();
    const ProjectCheck check = CheckProject(path);
    if (!check.ready)
        return 0;
    const files::ProjectFile& project = check.ready->file;
    session.map.clear();
    session.map.paintPicture(check.ready->plan, 0, 0, project.mapWidth * project.zoomX,
                             project.mapHeight * project.zoomY);
    session.map.setDrawWidth(project.penWidth);
    for (const AxialLine& line : project.lines) {
        session.map.line(line.x1, line.y1, line.x2, line.y2);
        session.inset.line(line.x1 * kInsetScale, line.y1 * kInsetScale, line.x2 * kInsetScale,
                           line.y2 * kInsetScale);
    }
    return 0;
}
