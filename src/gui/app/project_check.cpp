#include "gui/app/project_check.h"

#include "gui/host/image_files.h"
#include "gui/host/twips.h"

#include <algorithm>
#include <cmath>

namespace vantrel {

namespace {

// Every coordinate, in pixels, well within what drawing rounds points to.
bool IsDrawable(const AxialLine& line) {
    for (const float value : {line.x1, line.y1, line.x2, line.y2})
        if (!(std::fabs(value) <= kMaxDrawableTwips))
            return false;
    return true;
}

} // namespace

ProjectCheck CheckProject(const QString& path) {
    files::ProjectReading reading = files::ReadProjectFile(path);
    if (reading.tooManyLines)
        return {std::nullopt, {}, true};
    if (!reading.project)
        return {std::nullopt, reading.failure};
    ReadyProject ready{std::move(*reading.project), {}};
    double width = ready.file.mapWidth;
    double height = ready.file.mapHeight;
    if (!ready.file.planBase64.isEmpty()) {
        const ImageReadResult plan = DecodeImage(QByteArray::fromBase64(ready.file.planBase64));
        if (plan.image.isNull())
            return {std::nullopt,
                    QStringLiteral("its plan picture cannot be read: %1").arg(plan.failure)};
        ready.plan = plan.image.convertToFormat(QImage::Format_RGB32);
        width = PixelsToTwips(ready.plan.width());
        height = PixelsToTwips(ready.plan.height());
    }
    // Sizes beyond what drawing takes would wrap round on their way to whole pixels.
    const auto fits = [](double widthUnits, double heightUnits) {
        return widthUnits <= kMaxDrawableTwips && heightUnits <= kMaxDrawableTwips &&
               FitsImageLimit(QSize(TwipsToPixels(widthUnits), TwipsToPixels(heightUnits)));
    };
    if (!fits(width, height) || !fits(width * ready.file.zoomX, height * ready.file.zoomY))
        return {std::nullopt, QStringLiteral("its map is too large to hold")};
    const std::vector<AxialLine>& lines = ready.file.lines;
    const auto undrawable = std::find_if_not(lines.begin(), lines.end(), IsDrawable);
    if (undrawable != lines.end())
        return {std::nullopt, QStringLiteral("axial line %1 lies too far out for the map to draw")
                                  .arg(undrawable - lines.begin() + 1)};
    return {std::move(ready), {}, false};
}

} // namespace vantrel
