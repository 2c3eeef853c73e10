#include "cli/vga_command.h"

#include "cli/arguments.h"
#include "cli/command_run.h"
#include "cli/layer_output.h"
#include "cli/option_words.h"
#include "cli/output_folder.h"
#include "core/export/measures_csv.h"
#include "core/host/free_memory.h"
#include "core/host/quoted_text.h"
#include "core/io/axial_line_reader.h"
#include "core/vga/picture_walls.h"
#include "core/vga/vga_analysis.h"
#include "core/vga/vga_columns.h"
#include "core/vga/visibility_graph.h"
#include "gis/layer_reader.h"
#include "gis/plan_picture.h"
#include "gis/result_files.h"
#include "gis/result_layers.h"
#include "gis/vga_layers.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace vantrel::cli {

namespace {

constexpr std::string_view kVgaOutputFiles[] = {kVgaPointsFile};

using geometry::DoublePoint;
namespace fs = std::filesystem;

// "X,Y;X,Y" -> the points, or nothing when a part is not a pair of numbers.
std::optional<std::vector<DoublePoint>> Points(std::string_view list) {
    std::vector<DoublePoint> points;
    for (std::size_t from = 0; from <= list.size();) {
        const std::size_t end = std::min(list.find(';', from), list.size());
        const std::string_view pair = list.substr(from, end - from);
        from = end + 1;
        const std::size_t comma = pair.find(',');
        if (comma == std::string_view::npos)
            return std::nullopt;
        const auto x = FiniteNumber(pair.substr(0, comma));
        const auto y = FiniteNumber(pair.substr(comma + 1));
        if (!x || !y)
            return std::nullopt;
        points.push_back({*x, *y});
    }
    return points;
}

std::string Number(double value) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    return std::string(text, written.ptr);
}

std::string PointText(DoublePoint point) {
    return Number(point.x) + "," + Number(point.y);
}

// Reads one option into `options`; returns a fault, empty when none.
std::string ReadOption(std::string_view word, std::span<const std::string_view> words,
                       std::size_t& next, VgaCommandOptions& options) {
    const std::size_t equals = word.find('=');
    const std::string_view name = word.substr(0, equals);
    std::optional<std::string_view> value;
    if (equals != std::string_view::npos)
        value = word.substr(equals + 1);
    const auto flag = [&](bool& set) {
        if (value)
            return QuotedValue(name) + " takes no value";
        set = true;
        return std::string();
    };
    if (name == "--metric")
        return flag(options.metric);
    if (name == "--angular")
        return flag(options.angular);
    if (name == "--overwrite")
        return flag(options.overwrite);
    if (name == "--quiet")
        return flag(options.quiet);
    if (name == "--timings")
        return flag(options.timings);
    const std::string_view known[] = {"--spacing", "--fill",       "--origin", "--radius", "--out",
                                      "--raster",  "--pixel-size", "--layer",  "--threads"};
    if (std::find(std::begin(known), std::end(known), name) == std::end(known))
        return "unknown option " + QuotedValue(word);
    if (!value && next < words.size())
        value = words[next++];
    if (!value || value->empty())
        return std::string(name) + " needs a value";

    if (name == "--spacing" || name == "--pixel-size") {
        const auto number = FiniteNumber(*value);
        if (!number || *number <= 0)
            return std::string(name) + " needs a length above 0, not " + QuotedValue(*value);
        (name == "--spacing" ? options.spacing : options.pixelSize) = *number;
    } else if (name == "--fill" || name == "--origin") {
        const auto points = Points(*value);
        if (!points)
            return std::string(name) + " needs points as X,Y separated by ;, not " +
                   QuotedValue(*value);
        auto& list = name == "--fill" ? options.fillPoints : options.origins;
        list.insert(list.end(), points->begin(), points->end());
    } else if (name == "--radius") {
        std::string fault;
        const auto radii = ParseRadii(*value, fault);
        if (!fault.empty())
            return fault;
        options.radii = radii;
    } else if (name == "--out") {
        options.output = std::filesystem::path(*value);
    } else if (name == "--raster") {
        options.raster = std::filesystem::path(*value);
    } else if (name == "--layer") {
        options.layer = std::string(*value);
    } else {
        int threads = 0;
        const auto [end, error] =
            std::from_chars(value->data(), value->data() + value->size(), threads);
        if (error != std::errc{} || end != value->data() + value->size() || threads < 1 ||
            threads > kMaxThreads)
            return "--threads needs a whole number from 1 to " + std::to_string(kMaxThreads) +
                   ", not " + QuotedValue(*value);
        options.threads = threads;
    }
    return {};
}

std::string LowerExtension(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

// What the run knows of the walls besides their lines.
struct Walls {
    std::vector<MapLine> lines;
    std::string crsWkt;
    std::optional<vga::DarkPixels> pixels;
};

std::optional<std::string> ReadWalls(const VgaCommandOptions& options, StageLog& log,
                                     Walls& walls) {
    const std::filesystem::path& file = options.wallsFile;
    if (gis::IsPictureFileName(file)) {
        if (options.pixelSize <= 0)
            return QuotedName(file) +
                   " is a picture: --pixel-size M says how many units of the plan a pixel is";
        gis::PictureReading reading = gis::ReadPlanPicture(file);
        if (!reading.pixels)
            return reading.error;
        walls.pixels = std::move(reading.pixels);
        walls.lines = vga::PictureWalls(*walls.pixels, options.pixelSize);
        log.note("the picture is " + std::to_string(walls.pixels->width()) + " x " +
                 std::to_string(walls.pixels->height()) +
                 " pixels; its dark pixels and its edge give " +
                 std::to_string(walls.lines.size()) + " straight pieces of wall");
        return std::nullopt;
    }
    if (options.pixelSize > 0)
        return "--pixel-size is for plan pictures (.png, .bmp, .gif, .jpg, .tif), and " +
               QuotedName(file) + " is not one";
    const std::string extension = LowerExtension(file);
    if (options.layer.empty() && (extension == ".txt" || extension == ".csv")) {
        const auto fault = io::ReadMapLinesFile(file, walls.lines);
        if (!fault || extension != ".csv")
            return fault;
    }
    gis::LayerReading reading =
        gis::ReadLayerLines(file, options.layer, gis::LineSources::LineStringsAndRings);
    if (!reading.layer)
        return reading.error;
    if (reading.layer->skippedFeatures > 0)
        log.note(std::to_string(reading.layer->skippedFeatures) +
                 (reading.layer->skippedFeatures == 1 ? " feature was" : " features were") +
                 " skipped, holding no wall (points, empty or null geometries)");
    if (reading.layer->geographic)
        log.note("the walls' coordinates are in degrees (" + reading.layer->crsName +
                 "): the spacing, the isovists and the distances are in degrees too");
    walls.lines = std::move(reading.layer->lines);
    walls.crsWkt = std::move(reading.layer->crsWkt);
    return std::nullopt;
}

std::string Refusal(const VgaCommandOptions& options, const vga::WallSet& walls,
                    const vga::VgaRefusal& refusal, bool picture) {
    if (refusal.subject == vga::VgaRefusal::Subject::Origin)
        return "the origin " + PointText(options.origins[static_cast<std::size_t>(refusal.index)]) +
               " lies in no cell of the grid filled from the fill points; step depths are "
               "measured from a point of the open space";
    const DoublePoint fill = options.fillPoints[static_cast<std::size_t>(refusal.index)];
    const std::string point = "the fill point " + PointText(fill);
    switch (refusal.fault) {
    case vga::FillFault::OutsideExtent: {
        const vga::Extent extent = walls.extent();
        return point + " lies outside the walls, which span " +
               PointText({extent.minX, extent.minY}) + " to " +
               PointText({extent.maxX, extent.maxY});
    }
    case vga::FillFault::InWall:
        return point + (picture ? " lies in a dark pixel of the picture, which is wall"
                                : " lies on a wall");
    case vga::FillFault::NoSpace:
        break;
    }
    return point + " lies in a space smaller than the grid: the centre of its cell is beyond a "
                   "wall from it, so no point can be filled there; a smaller --spacing reaches it";
}

class LogStages final : public vga::VgaStages {
public:
    explicit LogStages(StageLog& log) : m_log(log) {}
    Progress* begin(std::string_view stage) override { return &m_log.begin(stage); }

private:
    StageLog& m_log;
};

std::string Megabytes(double bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", bytes / (1 << 20));
    return text;
}

void NoteResult(StageLog& log, const vga::VgaResult& result) {
    const vga::PointGrid& grid = result.grid;
    const int points = result.pointCount();
    log.note(std::to_string(points) + (points == 1 ? " point" : " points") +
             " filled on a grid of " + std::to_string(grid.columns()) + " x " +
             std::to_string(grid.rows()) + " cells of spacing " + Number(grid.spacing()) +
             "; the visibility graph takes " + Megabytes(static_cast<double>(result.graphBytes)) +
             ", " +
             Megabytes(static_cast<double>(result.graphBytes) * 10000.0 / std::max(points, 1)) +
             " per 10,000 points");
    const auto& hh = result.visual.front().integrationHH;
    if (std::none_of(hh.begin(), hh.end(), [](const auto& value) { return value.has_value(); }))
        log.note("visual integration [HH] has no value at any point: every point sees every "
                 "point it reaches, so no mean depth is above 1");
}

} // namespace

ParsedVgaArguments ParseVgaArguments(std::span<const std::string_view> arguments,
                                     int defaultThreads) {
    ParsedVgaArguments parsed;
    VgaCommandOptions& options = parsed.options;
    options.threads = std::clamp(defaultThreads, 1, kMaxThreads);
    if (std::any_of(arguments.begin(), arguments.end(),
                    [](std::string_view word) { return word == "--help" || word == "-h"; })) {
        parsed.help = true;
        return parsed;
    }
    bool haveWalls = false;
    for (std::size_t next = 0; next < arguments.size() && parsed.error.empty();) {
        const std::string_view word = arguments[next++];
        if (word.size() > 1 && word.front() == '-') {
            parsed.error = ReadOption(word, arguments, next, options);
        } else if (haveWalls) {
            parsed.error = "vga reads one walls file, but " + QuotedValue(word) + " is a second";
        } else {
            options.wallsFile = std::filesystem::path(word);
            haveWalls = true;
        }
    }
    if (!parsed.error.empty())
        return parsed;
    if (!haveWalls)
        parsed.error = "vga needs a walls file or a plan picture";
    else if (options.spacing <= 0)
        parsed.error = "vga needs --spacing S, the distance between the grid's points";
    else if (options.fillPoints.empty())
        parsed.error = "vga needs --fill X,Y, a point in the open space to fill the grid from";
    else if (options.output.empty() && options.raster.empty())
        parsed.error = "vga needs --out FOLDER|LAYERS or --raster FILE.tif";
    else if (!options.raster.empty() && LowerExtension(options.raster) != ".tif" &&
             LowerExtension(options.raster) != ".tiff")
        parsed.error =
            "--raster writes a GeoTIFF: its name ends in .tif, not " + QuotedName(options.raster);
    return parsed;
}

std::optional<std::string> RunVgaCommand(const VgaCommandOptions& options, StageLog& log,
                                         Interruption* interruption) {
    log.begin("Reading walls");
    Walls read;
    if (auto fault = ReadWalls(options, log, read))
        return fault;
    const vga::WallSet walls(std::move(read.lines));
    if (walls.empty())
        return QuotedName(options.wallsFile) + " holds no wall of any length";

    // The outputs are made ready before the analysis, so that a place that cannot be written is
    // reported at once.
    std::optional<LayerOutput> layers;
    std::optional<OutputFolder> folder;
    std::optional<LayerOutput> raster;
    const auto inputs = [&options] { return InputFiles(gis::DatasetFiles(options.wallsFile)); };
    if (!options.output.empty()) {
        if (gis::IsLayerFileName(options.output))
            layers.emplace(options.output, std::vector<std::string>{gis::kVgaLayer},
                           options.overwrite, inputs());
        else
            folder.emplace(options.output, kVgaOutputFiles, options.overwrite, inputs());
        if (auto fault = layers ? layers->prepare() : folder->prepare())
            return fault;
    }
    if (!options.raster.empty()) {
        raster.emplace(options.raster, std::vector<std::string>{}, options.overwrite, inputs());
        if (auto fault = raster->prepare())
            return fault;
    }
    const auto discard = [&] {
        if (layers)
            layers->discard();
        if (folder)
            folder->discard();
        if (raster)
            raster->discard();
    };
    const Interruption::Guard discardOnInterrupt =
        interruption ? interruption->onInterrupt(discard) : Interruption::Guard(nullptr);

    vga::VgaOptions analysis;
    analysis.spacing = options.spacing;
    analysis.fillPoints = options.fillPoints;
    analysis.radii = options.radii;
    analysis.origins = options.origins;
    analysis.metric = options.metric;
    analysis.angular = options.angular;
    analysis.threads = options.threads;
    analysis.maxBytes = options.maxBytes > 0 ? options.maxBytes : FreeMemoryBytes();
    if (read.pixels) {
        const vga::DarkPixels& pixels = *read.pixels;
        const double size = options.pixelSize;
        analysis.inWall = [&pixels, size](DoublePoint point) {
            return vga::InDarkPixel(pixels, size, point);
        };
    }
    LogStages stages(log);
    std::variant<vga::VgaResult, vga::VgaRefusal> run;
    try {
        run = vga::RunVga(walls, analysis, &stages);
    } catch (const vga::TooLarge& tooLarge) {
        return std::string(tooLarge.what()) + "; a larger --spacing needs less";
    }
    if (const auto* refusal = std::get_if<vga::VgaRefusal>(&run))
        return Refusal(options, walls, *refusal, read.pixels.has_value());
    const vga::VgaResult& result = std::get<vga::VgaResult>(run);
    NoteResult(log, result);

    log.begin("Writing files");
    const std::vector<exports::MeasureColumn> columns = vga::VgaColumns(result);
    const gis::VgaPoints points{result.grid, columns, read.crsWkt, vga::kStyledColumn};
    if (folder) {
        if (auto fault = folder->write(kVgaPointsFile, [&](std::ostream& out) {
                exports::WriteColumns(out, columns, result.pointCount());
            }))
            return fault;
    }
    if (layers) {
        if (auto fault = layers->write([&points](const fs::path& staging, const fs::path& target) {
                return gis::WriteVgaPoints(staging, target, points);
            }))
            return fault;
    }
    if (raster) {
        if (auto fault = raster->write([&points](const fs::path& staging, const fs::path& target) {
                return gis::WriteVgaRaster(staging / target.filename(), target, points);
            }))
            return fault;
    }
    if (folder)
        if (auto fault = folder->commit())
            return fault;
    if (layers)
        if (auto fault = layers->commit())
            return fault;
    if (raster)
        if (auto fault = raster->commit())
            return fault;
    log.finish();
    return std::nullopt;
}

int VgaMain(std::span<const std::string_view> arguments, int defaultThreads,
            Interruption& interruption) {
    const ParsedVgaArguments parsed = ParseVgaArguments(arguments, defaultThreads);
    return RunCommand(
        {.help = parsed.help,
         .helpText = parsed.help ? VgaHelpText(defaultThreads) : std::string(),
         .error = parsed.error,
         .helpCommand = "vantrel-cli vga --help",
         .quiet = parsed.options.quiet,
         .timings = parsed.options.timings},
        [&](StageLog& log) { return RunVgaCommand(parsed.options, log, &interruption); },
        "not enough memory for this plan; a larger --spacing needs less");
}

} // namespace vantrel::cli
