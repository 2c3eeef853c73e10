// Project files (.vantrel): what is needed to go on digitising where the user stopped, as a JSON
// document: format name and version, map size and zoom, the scale phase, the pen, the lines in
// the order drawn, and the plan as base64 PNG. Junctions and results are recomputed, not kept.
#pragma once

#include "core/app/project_state.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::files {

inline constexpr int kProjectFormatVersion = 1;
// No plan within the picture limit needs a larger project file.
inline constexpr qint64 kMaxProjectFileBytes = 512LL * 1024 * 1024;

struct ProjectFile {
    // The plan as base64 PNG, as the file holds it; empty when the project has no plan. Kept in
    // this form so that a recovery copy after every line does not encode the plan again.
    QByteArray planBase64;
    // The map at zoom 1, in twips; with a plan, the plan's size.
    float mapWidth = 0, mapHeight = 0;
    float zoomX = 1, zoomY = 1;
    bool scaleFixed = false;
    std::uint32_t penRgb = 0; // 0xRRGGBB
    int penWidth = 1;
    std::vector<AxialLine> lines;
    // The project file the work belongs to, kept in recovery copies so that restored work goes
    // on under its name; empty in project files and for untitled work.
    QString projectPath;
    bool operator==(const ProjectFile&) const = default;
};

QByteArray EncodeProject(const ProjectFile& project);

struct ProjectReading {
    std::optional<ProjectFile> project;
    QString failure; // why not, as a phrase; empty on success
    // The file holds more lines than a project may; `failure` is then empty, for the caller's
    // own limit message.
    bool tooManyLines = false;
};

// Checks everything but the plan's pixels, which the caller decodes with its picture limits.
ProjectReading DecodeProject(const QByteArray& bytes);

// Written atomically: a failure leaves any earlier file as it was. Nothing on success, otherwise
// a message naming the file and the reason.
std::optional<std::string> WriteProjectFile(const QString& path, const ProjectFile& project);
ProjectReading ReadProjectFile(const QString& path);

} // namespace vantrel::files
