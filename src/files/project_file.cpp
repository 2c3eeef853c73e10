#include "files/project_file.h"

#include "core/export/atomic_file.h"
#include "files/whole_file.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <limits>

namespace vantrel::files {

namespace {

constexpr char kFormatName[] = "Vantrel project";
// The range of the pen width scroll bar.
constexpr int kMinPenWidth = 1;
constexpr int kMaxPenWidth = 20;

ProjectReading Fault(const QString& failure) {
    return {std::nullopt, failure, false};
}

ProjectReading Damaged(const QString& what) {
    return Fault(QStringLiteral("it is damaged: %1").arg(what));
}

std::optional<float> FloatOf(const QJsonValue& value) {
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (!std::isfinite(number) || std::fabs(number) > std::numeric_limits<float>::max())
        return std::nullopt;
    return static_cast<float>(number);
}

std::optional<float> PositiveFloatOf(const QJsonValue& value) {
    const std::optional<float> number = FloatOf(value);
    if (!number || *number <= 0)
        return std::nullopt;
    return number;
}

std::optional<std::uint32_t> RgbOf(const QJsonValue& value) {
    const QString text = value.toString();
    if (text.size() != 7 || !text.startsWith('#'))
        return std::nullopt;
    bool ok = false;
    const uint rgb = text.mid(1).toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    return rgb;
}

QString RgbText(std::uint32_t rgb) {
    return QStringLiteral("#%1").arg(rgb & 0xFFFFFFu, 6, 16, QChar('0'));
}

std::optional<AxialLine> LineOf(const QJsonValue& value) {
    const QJsonArray numbers = value.toArray();
    if (!value.isArray() || numbers.size() != 4)
        return std::nullopt;
    float coordinates[4];
    for (int index = 0; index < 4; ++index) {
        const std::optional<float> coordinate = FloatOf(numbers[index]);
        if (!coordinate)
            return std::nullopt;
        coordinates[index] = *coordinate;
    }
    return AxialLine{coordinates[0], coordinates[1], coordinates[2], coordinates[3]};
}

// The file's text but for the plan, which goes between the head and the tail as it is: base64
// needs no escaping, and neither the JSON writer nor joining the parts should copy a plan of
// megabytes at every recovery copy.
struct ProjectText {
    QByteArray head;
    QByteArray tail;
};

ProjectText TextOf(const ProjectFile& project) {
    QJsonArray lines;
    for (const AxialLine& line : project.lines)
        lines.append(QJsonArray{line.x1, line.y1, line.x2, line.y2});
    QJsonObject root{
        {"format", kFormatName},
        {"version", kProjectFormatVersion},
        {"map", QJsonObject{{"width", project.mapWidth},
                            {"height", project.mapHeight},
                            {"zoomX", project.zoomX},
                            {"zoomY", project.zoomY},
                            {"scaleFixed", project.scaleFixed}}},
        {"pen", QJsonObject{{"colour", RgbText(project.penRgb)}, {"width", project.penWidth}}},
        {"lines", lines},
    };
    if (!project.projectPath.isEmpty())
        root.insert("projectFile", project.projectPath);
    QByteArray head = QJsonDocument(root).toJson(QJsonDocument::Indented);
    if (project.planBase64.isEmpty())
        return {std::move(head), {}};
    head.truncate(head.lastIndexOf('}'));
    while (head.endsWith('\n') || head.endsWith(' '))
        head.chop(1);
    head += ",\n    \"plan\": \"";
    return {std::move(head), "\"\n}\n"};
}

} // namespace

QByteArray EncodeProject(const ProjectFile& project) {
    const ProjectText text = TextOf(project);
    return text.head + project.planBase64 + text.tail;
}

ProjectReading DecodeProject(const QByteArray& bytes) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        if (!bytes.trimmed().startsWith('{'))
            return Fault(QStringLiteral("it is not a Vantrel project file"));
        return Fault(QStringLiteral("it is damaged or incomplete (%1 at byte %2)")
                         .arg(error.errorString())
                         .arg(error.offset));
    }
    const QJsonObject root = document.object();
    if (root.value("format").toString() != kFormatName)
        return Fault(QStringLiteral("it is not a Vantrel project file"));
    const QJsonValue version = root.value("version");
    if (!version.isDouble() || version.toDouble() < 1 ||
        version.toDouble() != std::floor(version.toDouble()))
        return Damaged(QStringLiteral("its format version is missing"));
    if (version.toDouble() > kProjectFormatVersion)
        return Fault(QStringLiteral("it was written by a newer version of Vantrel (project format "
                                    "%1; this version reads format %2)")
                         .arg(version.toDouble())
                         .arg(kProjectFormatVersion));

    ProjectFile project;
    const QJsonObject map = root.value("map").toObject();
    const auto width = PositiveFloatOf(map.value("width"));
    const auto height = PositiveFloatOf(map.value("height"));
    const auto zoomX = PositiveFloatOf(map.value("zoomX"));
    const auto zoomY = PositiveFloatOf(map.value("zoomY"));
    if (!width || !height || !zoomX || !zoomY || !map.value("scaleFixed").isBool())
        return Damaged(QStringLiteral("its map size, zoom or scale is missing"));
    project.mapWidth = *width;
    project.mapHeight = *height;
    project.zoomX = *zoomX;
    project.zoomY = *zoomY;
    project.scaleFixed = map.value("scaleFixed").toBool();

    const QJsonObject pen = root.value("pen").toObject();
    const std::optional<std::uint32_t> rgb = RgbOf(pen.value("colour"));
    const int penWidth = pen.value("width").toInt(0);
    if (!rgb || penWidth < kMinPenWidth || penWidth > kMaxPenWidth)
        return Damaged(QStringLiteral("its pen colour or width is missing"));
    project.penRgb = *rgb;
    project.penWidth = penWidth;

    const QJsonValue linesValue = root.value("lines");
    if (!linesValue.isArray())
        return Damaged(QStringLiteral("its axial lines are missing"));
    const QJsonArray lines = linesValue.toArray();
    if (lines.size() > kMaxLines)
        return {std::nullopt, {}, true};
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const std::optional<AxialLine> line = LineOf(lines[index]);
        if (!line)
            return Damaged(QStringLiteral("axial line %1 is not four numbers").arg(index + 1));
        project.lines.push_back(*line);
    }

    project.projectPath = root.value("projectFile").toString();

    const QJsonValue plan = root.value("plan");
    if (!plan.isUndefined() && !plan.isNull()) {
        QByteArray text = plan.toString().toLatin1();
        const auto decoded =
            QByteArray::fromBase64Encoding(text, QByteArray::AbortOnBase64DecodingErrors);
        if (!plan.isString() || !decoded || decoded.decoded.isEmpty())
            return Damaged(QStringLiteral("its plan picture is not base64 text"));
        project.planBase64 = std::move(text);
    }
    return {std::move(project), {}, false};
}

std::optional<std::string> WriteProjectFile(const QString& path, const ProjectFile& project) {
    const ProjectText text = TextOf(project);
    return exports::WriteFileAtomically(
        QFile::encodeName(path).toStdString(), [&](std::ostream& out) {
            for (const QByteArray* part : {&text.head, &project.planBase64, &text.tail})
                out.write(part->constData(), part->size());
        });
}

ProjectReading ReadProjectFile(const QString& path) {
    const WholeFile file = ReadWholeFile(path, kMaxProjectFileBytes);
    if (!file.failure.isEmpty())
        return Fault(file.failure);
    return DecodeProject(file.bytes);
}

} // namespace vantrel::files
