// A project file read and checked before it replaces the work: its plan decodes, its map can be
// held and its lines drawn, so that opening it cannot fail half-way.
#pragma once

#include "files/project_file.h"

#include <QImage>
#include <QString>
#include <optional>

namespace vantrel {

struct ReadyProject {
    files::ProjectFile file;
    QImage plan; // in RGB32; null when the project has none
};

struct ProjectCheck {
    std::optional<ReadyProject> ready;
    QString failure; // why not, as a phrase; empty with tooManyLines
    bool tooManyLines = false;
};

ProjectCheck CheckProject(const QString& path);

} // namespace vantrel
