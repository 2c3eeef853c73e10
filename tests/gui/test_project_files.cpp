// Keeping the work: project files, importing lines, the question before unsaved lines go, and
// the recovery copy a run that did not end cleanly leaves behind.
#include "core/export/text_exports.h"
#include "files/project_file.h"
#include "gis/result_layers.h"
#include "gui/app/project_document.h"
#include "gui/app/project_operations.h"
#include "support/gui_test_support.h"
#include "support/main_window_session.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace vantrel;
using namespace vantrel::testing;

namespace {

QImage Plan() {
    QImage plan(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < plan.height(); ++y)
        for (int x = 0; x < plan.width(); ++x)
            plan.setPixelColor(x, y, QColor((x * 3) % 256, (y * 11) % 256, 200));
    return plan;
}

// A plan, one zoom-out, a red pen of width 3, the scale fixed and `count` lines drawn.
void DrawProject(MainWindowSession& session, int count) {
    session.main.storedPlan() = Plan();
    Click(session.main, "Command5");
    Click(session.main, "Command15");
    session.dialogs.answerColour(QColor(Qt::red));
    Click(session.main, "Command30");
    session.main.widthScrollBar().setValue(3);
    Click(session.main, "Command17");
    for (int line = 0; line < count; ++line)
        Drag(session.map(), {10 + 15 * line, 20}, {300 - 10 * line, 280});
}

void WriteText(const QString& path, const QByteArray& text) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

} // namespace

class ProjectFilesTest : public QObject {
    Q_OBJECT
private slots:
    void aSavedProjectOpensAsItWasInAFreshWindow();
    void quittingWithUnsavedLinesAsksAndCancelKeepsTheProgram();
    void unreadableProjectFilesAreRefusedAndChangeNothing();
    void importedLinesAreTheExportedOnesOrFittedToTheMapWindow();
    void workLeftByARunThatDidNotEndIsOfferedBack();
    void restoredWorkGoesOnUnderItsProjectFile();
    void aFileOfSeveralLayersOfLinesAsksWhichToImport();
    void aDamagedRecoveryCopyIsSetAsideOnceAndTheNewestSoundOneOffered();

private:
    QTemporaryDir m_folder;
};

void ProjectFilesTest::aSavedProjectOpensAsItWasInAFreshWindow() {
    const QString path = m_folder.filePath("campus.vantrel");
    MainWindowSession first;
    DrawProject(first, 20);
    QCOMPARE(first.main.windowTitle(), kProgramTitle);
    first.dialogs.answerFile(path);
    Trigger(first.main, "mnuSaveProject");
    QCOMPARE(first.main.windowTitle(), kProgramTitle + QString::fromUtf8(" — campus.vantrel"));

    MainWindowSession second;
    second.dialogs.answerFile(path);
    Trigger(second.main, "mnuOpenProject");
    QVERIFY2(second.dialogs.unexpected().isEmpty(),
             qPrintable(second.dialogs.unexpected().join('\n')));
    const ProjectState& before = first.state();
    const ProjectState& after = second.state();
    QCOMPARE(after.AxialLines, before.AxialLines);
    QCOMPARE(second.main.storedPlan(), first.main.storedPlan());
    QCOMPARE(after.ZoomFactorX, before.ZoomFactorX);
    QCOMPARE(after.ZoomFactorY, before.ZoomFactorY);
    QCOMPARE(second.map().image(), first.map().image());
    QCOMPARE(second.main.box(1).text(), QString("20"));
    QVERIFY(after.DrawingEnabled);
    QVERIFY(second.main.command(17).isHidden());
    QCOMPARE(second.main.windowTitle(), first.main.windowTitle());

    Drag(second.map(), {50, 250}, {350, 30});
    QCOMPARE(after.LineCount(), 21);
    QCOMPARE(second.map().image().pixelColor(200, 140), QColor(Qt::red));
    QVERIFY(second.main.windowTitle().endsWith(" — campus.vantrel *"));
}

void ProjectFilesTest::quittingWithUnsavedLinesAsksAndCancelKeepsTheProgram() {
    MainWindowSession session;
    DrawProject(session, 2);
    session.dialogs.answerMessage(MessageAnswer::Cancel);
    Trigger(session.main, "mnuQuit");
    QCOMPARE(session.dialogs.messageTexts(), QStringList{"Save changes to the axial map?"});
    QCOMPARE(session.dialogs.calls().back().buttons, MessageButtons::SaveDiscardCancel);
    QVERIFY(session.main.isVisible());
    QCOMPARE(session.state().LineCount(), 2);

    // Save with no file asks for one; cancelling that also keeps the program.
    session.dialogs.answerMessage(MessageAnswer::Save);
    session.dialogs.answerFile(std::nullopt);
    QVERIFY(!session.main.close());

    session.dialogs.answerMessage(MessageAnswer::Discard);
    QVERIFY(session.main.close());
    QVERIFY(session.dialogs.allAnswersUsed());
}

void ProjectFilesTest::unreadableProjectFilesAreRefusedAndChangeNothing() {
    MainWindowSession source;
    DrawProject(source, 3);
    const QByteArray good = files::EncodeProject(source.main.project().capture());
    QByteArray newer = good;
    newer.replace("\"version\": 1", "\"version\": 2");
    files::ProjectFile crowded = source.main.project().capture();
    crowded.lines.assign(kMaxLines + 1, AxialLine{1, 1, 2, 2});
    files::ProjectFile far = source.main.project().capture();
    far.lines.push_back({-3e38f, 100, 3e38f, 200});

    const struct {
        const char* name;
        QByteArray bytes;
        QString message;
    } cases[] = {
        {"picture.vantrel", "\x89PNG\r\n\x1a\n", "it is not a Vantrel project file."},
        {"cut.vantrel", good.left(good.size() / 2), "it is damaged or incomplete ("},
        {"newer.vantrel", newer,
         "it was written by a newer version of Vantrel (project format 2; "
         "this version reads format 1)."},
        {"crowded.vantrel", files::EncodeProject(crowded),
         "More Than 500 Axial Lines - You Must Start Again or Remove Lines "},
        {"far.vantrel", files::EncodeProject(far),
         "axial line 4 lies too far out for the map to draw."},
    };
    MainWindowSession session;
    DrawProject(session, 2);
    session.dialogs.answerFile(m_folder.filePath("kept.vantrel"));
    Trigger(session.main, "mnuSaveProjectAs");
    const QImage map = session.map().image();
    const QString title = session.main.windowTitle();
    for (const auto& file : cases) {
        const QString path = m_folder.filePath(file.name);
        WriteText(path, file.bytes);
        session.dialogs.clear();
        session.dialogs.answerFile(path);
        Trigger(session.main, "mnuOpenProject");
        QCOMPARE(session.dialogs.messageTexts().size(), 1);
        const QString text = session.dialogs.messageTexts().front();
        QVERIFY2(text.contains(file.message), qPrintable(text));
        if (!file.message.startsWith("More"))
            QVERIFY2(text.contains(path), qPrintable(text));
        QCOMPARE(session.state().LineCount(), 2);
        QCOMPARE(session.map().image(), map);
        QCOMPARE(session.main.windowTitle(), title);
    }
}

void ProjectFilesTest::importedLinesAreTheExportedOnesOrFittedToTheMapWindow() {
    MainWindowSession source;
    DrawProject(source, 20);
    const QString exported = m_folder.filePath("lines.txt");
    std::ofstream(exported.toStdString()) << [&] {
        std::ostringstream text;
        exports::WriteAxialLines(text, source.state().AxialLines);
        return text.str();
    }();

    MainWindowSession session;
    DrawProject(session, 0);
    session.dialogs.answerFile(exported);
    Trigger(session.main, "mnuImportLines");
    QCOMPARE(session.state().AxialLines, source.state().AxialLines);
    QVERIFY(session.dialogs.messageTexts().isEmpty());
    QVERIFY(session.state().DrawingEnabled);

    // The same lines as a GeoPackage layer, read through the batch tool's GIS reader.
    const std::vector<MapLine> wide = Widened(source.state().AxialLines);
    const std::string gpkg = m_folder.filePath("lines.gpkg").toStdString();
    QVERIFY(!gis::WriteResultLayers(m_folder.path().toStdString(), gpkg, {.lines = wide}));
    session.dialogs.answerMessage(MessageAnswer::Discard);
    session.dialogs.answerFile(m_folder.filePath("lines.gpkg"));
    Trigger(session.main, "mnuImportLines");
    QCOMPARE(session.state().AxialLines, source.state().AxialLines);
    session.dialogs.clear();

    // A Shapefile whose second record claims 2^31-1 points: the other lines come in, with a word.
    QVERIFY(!gis::WriteResultLayers(m_folder.path().toStdString(),
                                    m_folder.filePath("cut.shp").toStdString(), {.lines = wide}));
    const QString cut = m_folder.filePath("cut_axial_lines_shp.shp");
    {
        std::fstream file(cut.toStdString(), std::ios::in | std::ios::out | std::ios::binary);
        // Past the file header, one record of 88 bytes and the second's header, type and box.
        file.seekp(100 + 88 + 48);
        file.write("\xff\xff\xff\x7f", 4);
    }
    session.dialogs.answerMessage(MessageAnswer::Discard);
    session.dialogs.answerFile(cut);
    Trigger(session.main, "mnuImportLines");
    QCOMPARE(session.state().LineCount(), 19);
    QCOMPARE(session.dialogs.messageTexts().size(), 2);
    QCOMPARE(session.dialogs.messageTexts().back(),
             QStringLiteral("Importing \"%1\": 1 feature is damaged and was skipped (GDAL cannot "
                            "read its geometry): feature id 1.")
                 .arg(cut));
    session.dialogs.clear();

    // Metres on a national grid: the question first, as 20 lines are unsaved, then the fit.
    const QString metres = m_folder.filePath("metres.csv");
    WriteText(metres, "id,x1,y1,x2,y2\n1,530000,180000,538000,180000\n"
                      "2,534000,177000,534000,183000\n");
    session.dialogs.answerMessage(MessageAnswer::Discard);
    session.dialogs.answerFile(metres);
    Trigger(session.main, "mnuImportLines");
    QCOMPARE(session.state().LineCount(), 2);
    const double width = session.map().widthUnits();
    const double height = session.map().heightUnits();
    for (const AxialLine& line : session.state().AxialLines)
        for (const float x : {line.x1, line.x2})
            QVERIFY(x >= 0 && x <= width);
    const AxialLine& across = session.state().AxialLines[0];
    QCOMPARE(across.y1, across.y2);
    // North up: the south end of the line running north lies lower in the window.
    const AxialLine& northwards = session.state().AxialLines[1];
    QVERIFY(northwards.y1 > northwards.y2);
    QVERIFY(across.x2 - across.x1 > 0.8 * width);
    QVERIFY(across.y1 > 0 && across.y1 < height);
    QCOMPARE(session.dialogs.messageTexts().size(), 2);
    QVERIFY2(session.dialogs.messageTexts().back().contains("were scaled by 0.7425 "),
             qPrintable(session.dialogs.messageTexts().back()));
    QVERIFY(session.dialogs.messageTexts().back().contains("so that north is up"));
    QCOMPARE(session.main.box(1).text(), QString("2"));
}

void ProjectFilesTest::workLeftByARunThatDidNotEndIsOfferedBack() {
    const QString folder = m_folder.filePath("recovery");
    MainWindowSession crashed;
    crashed.main.project().keepRecoveryIn(folder);
    DrawProject(crashed, 3);
    const QString kept = crashed.main.project().recovery()->ownFile();
    QVERIFY(QFile::exists(kept));
    // The copy of a run whose lock nobody holds, as a killed run leaves it.
    const QString leftover = QDir(folder).filePath("recovery-1-1.vantrel");
    QVERIFY(QFile::copy(kept, leftover));

    MainWindowSession next;
    next.main.project().keepRecoveryIn(folder);
    next.dialogs.answerMessage(MessageAnswer::Restore);
    OfferRecoveredWork(next.workspace());
    QVERIFY(next.dialogs.messageTexts().front().contains("Its axial map of 3 lines"));
    QCOMPARE(next.state().AxialLines, crashed.state().AxialLines);
    QCOMPARE(next.main.windowTitle(), kProgramTitle);
    QVERIFY(next.main.project().isModified());
    QVERIFY(!QFile::exists(leftover));
    QVERIFY(QFile::exists(next.main.project().recovery()->ownFile()));

    // The other run is alive, so its copy is not offered; a dead run's copy can be discarded.
    QVERIFY(QFile::copy(kept, leftover));
    MainWindowSession third;
    third.main.project().keepRecoveryIn(folder);
    third.dialogs.answerMessage(MessageAnswer::Discard);
    OfferRecoveredWork(third.workspace());
    QCOMPARE(third.dialogs.messageTexts().size(), 1);
    QCOMPARE(third.state().LineCount(), 0);
    QVERIFY(!QFile::exists(leftover));
    QVERIFY(QFile::exists(kept));

    // A clean end removes the run's copy.
    crashed.dialogs.answerMessage(MessageAnswer::Discard);
    QVERIFY(crashed.main.close());
    QVERIFY(!QFile::exists(kept));
}

void ProjectFilesTest::restoredWorkGoesOnUnderItsProjectFile() {
    const QString folder = m_folder.filePath("recovery-of-a-project");
    const QString path = m_folder.filePath("named.vantrel");
    MainWindowSession crashed;
    crashed.main.project().keepRecoveryIn(folder);
    DrawProject(crashed, 2);
    crashed.dialogs.answerFile(path);
    Trigger(crashed.main, "mnuSaveProject");
    Drag(crashed.map(), {40, 200}, {250, 60});
    QVERIFY(QFile::copy(crashed.main.project().recovery()->ownFile(),
                        QDir(folder).filePath("recovery-1-1.vantrel")));

    MainWindowSession next;
    next.main.project().keepRecoveryIn(folder);
    next.dialogs.answerMessage(MessageAnswer::Restore);
    OfferRecoveredWork(next.workspace());
    QCOMPARE(next.state().AxialLines, crashed.state().AxialLines);
    QCOMPARE(next.main.project().filePath(), path);
    QCOMPARE(next.main.windowTitle(), kProgramTitle + QStringLiteral(" \u2014 named.vantrel *"));

    // Saving writes the project's own file without asking for a name.
    Trigger(next.main, "mnuSaveProject");
    QCOMPARE(files::ReadProjectFile(path).project->lines, crashed.state().AxialLines);
    QVERIFY(next.dialogs.unexpected().isEmpty());
}

// Every OpenStreetMap file holds its ways in "lines" and its routes in "multilinestrings".
void ProjectFilesTest::aFileOfSeveralLayersOfLinesAsksWhichToImport() {
    const QString osm = m_folder.filePath("streets.osm");
    WriteText(osm, R"(<osm version="0.6">
  <node id="1" lat="51.54" lon="-0.11"/><node id="2" lat="51.54" lon="-0.10"/>
  <node id="3" lat="51.53" lon="-0.105"/><node id="4" lat="51.55" lon="-0.105"/>
  <way id="10"><nd ref="1"/><nd ref="2"/><tag k="highway" v="residential"/></way>
  <way id="11"><nd ref="3"/><nd ref="4"/><tag k="highway" v="residential"/></way>
  <relation id="20"><member type="way" ref="10" role=""/><member type="way" ref="11" role=""/>
    <tag k="type" v="route"/></relation></osm>)");
    MainWindowSession session;
    session.dialogs.answerFile(osm);
    session.dialogs.answerChoice(std::nullopt);
    Trigger(session.main, "mnuImportLines");
    QCOMPARE(session.state().LineCount(), 0);
    QVERIFY(session.dialogs.messageTexts().isEmpty());

    session.dialogs.answerFile(osm);
    session.dialogs.answerChoice("multilinestrings");
    Trigger(session.main, "mnuImportLines");
    QCOMPARE(session.dialogs.calls()[3].items,
             QStringList({"lines (2 features)", "multilinestrings (1 feature)"}));
    QCOMPARE(session.state().LineCount(), 2);
    QVERIFY(session.dialogs.unexpected().isEmpty());
}

void ProjectFilesTest::aDamagedRecoveryCopyIsSetAsideOnceAndTheNewestSoundOneOffered() {
    const QDir folder(m_folder.filePath("damaged"));
    MainWindowSession crashed;
    crashed.main.project().keepRecoveryIn(folder.path());
    DrawProject(crashed, 2);
    // An older sound copy, a newer damaged one, and the temporary file of a copy that a run
    // killed while writing it left.
    const QString sound = folder.filePath("recovery-1-1.vantrel");
    const QString damaged = folder.filePath("recovery-1-2.vantrel");
    QVERIFY(QFile::copy(crashed.main.project().recovery()->ownFile(), sound));
    QFile soundFile(sound);
    QVERIFY(soundFile.open(QIODevice::ReadWrite));
    QVERIFY(soundFile.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                  QFileDevice::FileModificationTime));
    soundFile.close();
    WriteText(damaged, R"({"format": "Vantrel project", "vers)");
    const pid_t ended = ::fork();
    if (ended == 0)
        ::_exit(0);
    ::waitpid(ended, nullptr, 0);
    const QString debris =
        folder.filePath(QStringLiteral(".recovery-1-3.vantrel.vantrel-%1-5.tmp").arg(ended));
    WriteText(debris, "half a copy");

    MainWindowSession next;
    next.main.project().keepRecoveryIn(folder.path());
    next.dialogs.answerMessage(MessageAnswer::Restore);
    OfferRecoveredWork(next.workspace());
    const QStringList texts = next.dialogs.messageTexts();
    QCOMPARE(texts.size(), 2);
    const QString aside = folder.filePath("damaged-recovery-1-2.vantrel");
    QVERIFY2(texts[0].startsWith(QStringLiteral("The work kept after a crash could not be restored "
                                                "from \"%1\": it is damaged or incomplete (")
                                     .arg(damaged)),
             qPrintable(texts[0]));
    QVERIFY2(texts[0].endsWith(QStringLiteral("It was kept as \"%1\".").arg(aside)),
             qPrintable(texts[0]));
    QVERIFY(texts[1].contains("Its axial map of 2 lines"));
    QCOMPARE(next.state().AxialLines, crashed.state().AxialLines);
    QVERIFY(QFile::exists(aside));
    QVERIFY(!QFile::exists(damaged));
    QVERIFY(!QFile::exists(sound));
    QVERIFY(!QFile::exists(debris));

    MainWindowSession later;
    later.main.project().keepRecoveryIn(folder.path());
    OfferRecoveredWork(later.workspace());
    QVERIFY(later.dialogs.messageTexts().isEmpty());
}

QTEST_MAIN(ProjectFilesTest)
#include "test_project_files.moc"
