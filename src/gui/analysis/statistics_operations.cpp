#include "gui/analysis/statistics_operations.h"

#include "core/analysis/statistics.h"
#include "core/app/project_state.h"
#include "gui/analysis/analysed_items.h"
#include "gui/app/main_window.h"
#include "gui/app/text_window.h"
#include "gui/app/workspace.h"
#include "gui/host/picture_surface.h"

#include <QAction>
#include <QPushButton>

namespace vantrel {

namespace {

constexpr double kInsetJunctionRadius = 60;

void showTexts(TextWindow& window, const analysis::StatisticsTexts& texts) {
    const QString caption =
        texts.caption ? QString::fromStdString(*texts.caption) : window.windowTitle();
    if (texts.onlyFirstTextShown) {
        window.showSingleText(caption, QString::fromStdString(texts.texts[0]));
        return;
    }
    std::array<QString, 4> shown;
    for (std::size_t i = 0; i < shown.size(); ++i)
        shown[i] = QString::fromStdString(texts.texts[i]);
    window.showTexts(caption, shown);
}

void markJunctionsOnInset(const ProjectState& state, PictureSurface& inset) {
    inset.setFillStyle(FillStyle::Solid);
    inset.setFillColor(Qt::red);
    for (const Junction& junction : state.Junctions)
        inset.circle(junction.x * state.InsetScaleX, junction.y * state.InsetScaleY,
                     kInsetJunctionRadius * state.InsetScaleX, Qt::red);
}

} // namespace

void AxialMapStatistics(Workspace& workspace) {
    const analysis::AxialMapStatisticsResult result = analysis::AxialMapStatistics(workspace.state);
    if (!result.refused)
        markJunctionsOnInset(workspace.state, workspace.main.insetWindow());
    showTexts(workspace.textWindow, result.texts);
}

void AxialGraphStatistics(Workspace& workspace) {
    if (requireCurrentDepths(workspace, ResultsKind::Axial))
        showTexts(workspace.textWindow, analysis::AxialGraphStatistics(workspace.state).texts);
}

void JunctionGraphStatistics(Workspace& workspace) {
    if (requireCurrentDepths(workspace, ResultsKind::Junction))
        showTexts(workspace.textWindow, analysis::JunctionGraphStatistics(workspace.state).texts);
}

void ConnectStatisticsOperations(Workspace& workspace) {
    MainWindow& main = workspace.main;
    const auto mapStatistics = [&workspace] { AxialMapStatistics(workspace); };
    const auto axialGraph = [&workspace] { AxialGraphStatistics(workspace); };
    const auto junctionGraph = [&workspace] { JunctionGraphStatistics(workspace); };
    QObject::connect(&main.command(18), &QPushButton::clicked, &main, mapStatistics);
    QObject::connect(&main.action("mnuAxialMap"), &QAction::triggered, &main, mapStatistics);
    QObject::connect(&main.command(33), &QPushButton::clicked, &main, axialGraph);
    QObject::connect(&workspace.axialResults.action("mnuAxGraph"), &QAction::triggered,
                     &workspace.axialResults, axialGraph);
    QObject::connect(&main.command(34), &QPushButton::clicked, &main, junctionGraph);
    QObject::connect(&workspace.junctionResults.action("mnuJGraph"), &QAction::triggered,
                     &workspace.junctionResults, junctionGraph);
}

} // namespace vantrel
