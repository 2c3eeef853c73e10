// Saving the lines, junctions, data matrix and integration values as text files.
#include "support/gui_test_support.h"
#include "support/scripted_dialogs.h"

#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/display/results_window.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <unistd.h>

using namespace vantrel;
using namespace vantrel::testing;

namespace {

const QString kTextFilter = "Text (*.txt)|*.txt";

// A horizontal line crossed by two vertical ones, with integration values as an analysis left.
void FillSmallMap(ProjectState& state) {
    state.AxialLines = {
        {1000, 2000, 5000, 2000}, {2000, 1000, 2000, 4000}, {4000.5f, 1500, 4000.5f, 3000.25f}};
    state.Junctions = {{1, 2, 2000, 2000}, {1, 3, 4000.5f, 2000}};
    state.LineIntegration = {1.0f, 0.0f, 1.0f / 3.0f};
    state.JunctionIntegration = {0.1f, 0.75f};
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<" + path.toUtf8() + " unreadable>";
    return file.readAll();
}

QByteArray Expected(const QString& name) {
    return Contents(QStringLiteral(VANTREL_TEST_DATA "/expected/") + name);
}

// Every file in `folder`, hidden ones too, so that a left-over temporary file shows.
QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

struct ExportCase {
    const char* explanationTitle;
    const char* explanationText;
    const char* expectedFile;
    std::function<void(MainWindow&)> start;
};

const ExportCase kExports[] = {
    {"Saving the Axial Lines",
     "This let's you save the axial map to a  text file as 'k' lines with start and end x-y "
     "coordinates",
     "axial_lines_small.txt", [](MainWindow& main) { Trigger(main, "mnuAxial"); }},
    {"Saving the Junctions-Nodes",
     "This let's you save the junctions to a  text file as 'n' nodes with their x-y coordinates",
     "junctions_small.txt", [](MainWindow& main) { Trigger(main, "mnuJunctions"); }},
    {"Saving the Data Matrix",
     "This let's you save the axial-line to junction binary matrix as a  row-column text file",
     "data_matrix_small.txt", [](MainWindow& main) { Trigger(main, "mnuData"); }},
    {"Saving the Axial Integration Values",
     "This let's you save the axial integration/access values to a  text file",
     "line_integration_small.txt", [](MainWindow& main) { Click(main, "Command13"); }},
    {"Saving the Junction Integration Values",
     "This let's you save the junction/node integration/access values to a  text file",
     "junction_integration_small.txt", [](MainWindow& main) { Click(main, "Command14"); }},
};

// The failure box, or nullptr when none was shown.
const DialogCall* FailureMessage(const ScriptedDialogs& dialogs) {
    for (const DialogCall& call : dialogs.calls())
        if (call.kind == DialogCall::Kind::Message && call.title == "Saving Failed")
            return &call;
    return nullptr;
}

} // namespace

class TextExportsTest : public QObject {
    Q_OBJECT
private slots:
    void eachSaveExplainsItselfThenWritesTheChosenFile_data();
    void eachSaveExplainsItselfThenWritesTheChosenFile();
    void anExistingFileIsReplacedByTheNewExport();
    void theAccessibilityScoresItemsOfTheResultsWindowsWriteTheIntegrationFiles();
    void allMeasuresWritesEveryMeasureOfTheLinesOrJunctionsAsACsvFile();
    void savingIntegrationBeforeAnyAnalysisWritesZeros();
    void cancellingTheDialogWritesAndShowsNothing();
    void switchingOffMenuMessagesSuppressesTheBoxButNotTheDialog();
    void theDefaultExtensionIsTxtFromTheSecondDialogOn();
    void aFolderThatDoesNotExistGivesAMessageNamingTheFile();
    void aFolderThatIsAFileGivesAMessage();
    void aTargetThatIsAFolderGivesAMessageAndLeavesTheFolderAlone();
    void aReadOnlyFolderGivesAMessageAndLeavesTheOldFileUntouched();
};

void TextExportsTest::eachSaveExplainsItselfThenWritesTheChosenFile_data() {
    QTest::addColumn<int>("index");
    for (int index = 0; index < static_cast<int>(std::size(kExports)); ++index)
        QTest::newRow(kExports[index].expectedFile) << index;
}

void TextExportsTest::eachSaveExplainsItselfThenWritesTheChosenFile() {
    QFETCH(int, index);
    const ExportCase& exportCase = kExports[index];
    QTemporaryDir folder;
    const QString target = folder.filePath("export.txt");
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    FillSmallMap(main.state());

    dialogs.answerFile(target);
    exportCase.start(main);

    QCOMPARE(dialogs.calls().size(), size_t(2));
    const DialogCall& box = dialogs.calls()[0];
    QCOMPARE(box.kind, DialogCall::Kind::Message);
    QCOMPARE(box.title, QString(exportCase.explanationTitle));
    QCOMPARE(box.text, QString(exportCase.explanationText));
    QCOMPARE(box.icon, MessageIcon::Question);
    QCOMPARE(box.buttons, MessageButtons::Ok);
    const DialogCall& dialog = dialogs.calls()[1];
    QCOMPARE(dialog.kind, DialogCall::Kind::SaveFile);
    QCOMPARE(dialog.file.filter, kTextFilter);
    QVERIFY(dialogs.unexpected().isEmpty());

    QCOMPARE(Contents(target), Expected(exportCase.expectedFile));
    QCOMPARE(FilesIn(folder.path()), QStringList{"export.txt"});
}

void TextExportsTest::anExistingFileIsReplacedByTheNewExport() {
    QTemporaryDir folder;
    const QString target = folder.filePath("lines.txt");
    {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, 'x'));
    }
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    FillSmallMap(main.state());
    dialogs.answerFile(target);
    Trigger(main, "mnuAxial");
    QCOMPARE(Contents(target), Expected("axial_lines_small.txt"));
    QCOMPARE(FilesIn(folder.path()), QStringList{"lines.txt"});
}

void TextExportsTest::theAccessibilityScoresItemsOfTheResultsWindowsWriteTheIntegrationFiles() {
    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    FillSmallMap(main.state());
    ResultsWindow& axial = main.workspace().axialResults;
    ResultsWindow& junction = main.workspace().junctionResults;
    axial.layOutRadiusGroup();
    junction.layOutSpanGroup();

    dialogs.answerFile(folder.filePath("lines.txt"));
    Trigger(axial, "mnuAccessData");
    dialogs.answerFile(folder.filePath("junctions.txt"));
    Trigger(junction, "mnuAccessData");

    QCOMPARE(Contents(folder.filePath("lines.txt")), Expected("line_integration_small.txt"));
    QCOMPARE(Contents(folder.filePath("junctions.txt")),
             Expected("junction_integration_small.txt"));
    QCOMPARE(dialogs.messageTexts(),
             QStringList({kExports[3].explanationText, kExports[4].explanationText}));
    for (ResultsWindow* window : {&axial, &junction})
        for (int number : {1, 2, 4, 5})
            QVERIFY(window->command(number).isHidden());
    QVERIFY(axial.label(1).isHidden());
    QVERIFY(junction.label(2).isHidden());
}

void TextExportsTest::allMeasuresWritesEveryMeasureOfTheLinesOrJunctionsAsACsvFile() {
    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    FillSmallMap(main.state());

    dialogs.answerFile(folder.filePath("lines.csv"));
    Trigger(main.workspace().axialResults, "mnuAllMeasures");
    dialogs.answerFile(folder.filePath("junctions.csv"));
    Trigger(main.workspace().junctionResults, "mnuAllMeasures");

    QCOMPARE(dialogs.calls()[0].title, QString("Saving All Measures of the Axial Lines"));
    QCOMPARE(dialogs.calls()[2].title, QString("Saving All Measures of the Junctions"));
    QCOMPARE(dialogs.calls()[1].file.filter, QString("CSV (*.csv)|*.csv"));
    const QList<QByteArray> lines = Contents(folder.filePath("lines.csv")).split('\n');
    QVERIFY(
        lines[0].startsWith("\"number\",\"connectivity\",\"total_depth\",\"mean_depth\","
                            "\"reached\",\"integration\",\"radius_3\",\"radius_n\",\"control\""));
    QVERIFY(lines[0].contains("\"line_length\""));
    QVERIFY(lines[0].endsWith("\"choice_r3\",\"choice_norm_r3\"\r"));
    // Line 1 crosses both others: control 2, and it lies on the one route between them.
    QVERIFY(lines[1].startsWith("1,2,2,1,2,1,1,1,2,1,4000,3,"));
    QVERIFY(lines[1].contains(",1,1,3,2,1,"));
    QCOMPARE(lines.size(), 5); // heading, three lines, and the empty rest after the last CR LF
    const QList<QByteArray> junctions = Contents(folder.filePath("junctions.csv")).split('\n');
    QVERIFY(!junctions[0].contains("line_length"));
    QVERIFY(junctions[2].startsWith("2,1,1,1,1,1,1,1,1,1,2,"));
}

void TextExportsTest::savingIntegrationBeforeAnyAnalysisWritesZeros() {
    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    FillSmallMap(main.state());
    main.state().LineIntegration.clear();
    main.state().JunctionIntegration = {0.5f};

    dialogs.answerFile(folder.filePath("lines.txt"));
    Click(main, "Command13");
    dialogs.answerFile(folder.filePath("junctions.txt"));
    Click(main, "Command14");

    QVERIFY(Contents(folder.filePath("lines.txt")).endsWith("\r\n\r\n1,0\r\n2,0\r\n3,0\r\n"));
    QVERIFY(Contents(folder.filePath("junctions.txt")).endsWith("\r\n\r\n1,0.5\r\n2,0\r\n"));
}

void TextExportsTest::cancellingTheDialogWritesAndShowsNothing() {
    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    FillSmallMap(main.state());
    main.check(1).setChecked(true);

    for (const ExportCase& exportCase : kExports) {
        dialogs.answerFile(std::nullopt);
        exportCase.start(main);
    }

    QCOMPARE(dialogs.calls().size(), std::size(kExports));
    for (const DialogCall& call : dialogs.calls()) {
        QCOMPARE(call.kind, DialogCall::Kind::SaveFile);
        // A cancelled dialog does not set the extension for the next one.
        QCOMPARE(call.file.defaultExtension, QString());
    }
    QVERIFY(dialogs.unexpected().isEmpty());
    QVERIFY(FilesIn(folder.path()).isEmpty());
}

void TextExportsTest::switchingOffMenuMessagesSuppressesTheBoxButNotTheDialog() {
    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    FillSmallMap(main.state());
    Click(main, "Check1");
    QVERIFY(main.menuMessagesOff());

    dialogs.answerFile(folder.filePath("matrix.txt"));
    Trigger(main, "mnuData");

    QCOMPARE(dialogs.calls().size(), size_t(1));
    QCOMPARE(dialogs.calls()[0].kind, DialogCall::Kind::SaveFile);
    QCOMPARE(Contents(folder.filePath("matrix.txt")), Expected("data_matrix_small.txt"));
}

void TextExportsTest::theDefaultExtensionIsTxtFromTheSecondDialogOn() {
    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    main.check(1).setChecked(true);

    dialogs.answerFile(folder.filePath("lines.txt"));
    Trigger(main, "mnuAxial");
    dialogs.answerFile(folder.filePath("junctions.txt"));
    Trigger(main, "mnuJunctions");
    dialogs.answerFile(std::nullopt);
    Click(main, "Command14");

    QCOMPARE(dialogs.calls().size(), size_t(3));
    QCOMPARE(dialogs.calls()[0].file.defaultExtension, QString());
    QCOMPARE(dialogs.calls()[1].file.defaultExtension, QString("txt"));
    QCOMPARE(dialogs.calls()[2].file.defaultExtension, QString("txt"));

    // The setting belongs to that main window; another starts without it.
    ScriptedDialogs otherDialogs;
    MainWindow other(otherDialogs);
    other.check(1).setChecked(true);
    otherDialogs.answerFile(std::nullopt);
    Trigger(other, "mnuAxial");
    QCOMPARE(otherDialogs.calls().at(0).file.defaultExtension, QString());
}

void TextExportsTest::aFolderThatDoesNotExistGivesAMessageNamingTheFile() {
    QTemporaryDir folder;
    const QString target = folder.filePath("missing/lines.txt");
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    FillSmallMap(main.state());
    main.check(1).setChecked(true);

    dialogs.answerFile(target);
    Trigger(main, "mnuAxial");

    const DialogCall* failure = FailureMessage(dialogs);
    QVERIFY(failure);
    QCOMPARE(failure->text, "Could not write \"" + target + "\": No such file or directory");
    QCOMPARE(failure->icon, MessageIcon::Warning);
    QCOMPARE(failure->buttons, MessageButtons::Ok);
    QVERIFY(!QFile::exists(folder.filePath("missing")));
    QVERIFY(FilesIn(folder.path()).isEmpty());
}

void TextExportsTest::aFolderThatIsAFileGivesAMessage() {
    QTemporaryDir folder;
    const QString plainFile = folder.filePath("notes");
    {
        QFile file(plainFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("keep me");
    }
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    FillSmallMap(main.state());
    main.check(1).setChecked(true);

    dialogs.answerFile(plainFile + "/junctions.txt");
    Trigger(main, "mnuJunctions");

    const DialogCall* failure = FailureMessage(dialogs);
    QVERIFY(failure);
    QVERIFY2(failure->text.startsWith("Could not write \"" + plainFile + "/junctions.txt\": "),
             qPrintable(failure->text));
    QCOMPARE(Contents(plainFile), QByteArray("keep me"));
    QCOMPARE(FilesIn(folder.path()), QStringList{"notes"});
}

void TextExportsTest::aTargetThatIsAFolderGivesAMessageAndLeavesTheFolderAlone() {
    QTemporaryDir folder;
    const QString target = folder.filePath("values.txt");
    QVERIFY(QDir(folder.path()).mkdir("values.txt"));
    {
        QFile inside(target + "/old.txt");
        QVERIFY(inside.open(QIODevice::WriteOnly));
        inside.write("old values");
    }
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    FillSmallMap(main.state());
    main.check(1).setChecked(true);

    dialogs.answerFile(target);
    Click(main, "Command13");

    const DialogCall* failure = FailureMessage(dialogs);
    QVERIFY(failure);
    QVERIFY2(failure->text.startsWith("Could not write \"" + target + "\": "),
             qPrintable(failure->text));
    QCOMPARE(Contents(target + "/old.txt"), QByteArray("old values"));
    QCOMPARE(FilesIn(target), QStringList{"old.txt"});
    // No temporary file is left beside the target.
    QVERIFY(FilesIn(folder.path()).isEmpty());
}

void TextExportsTest::aReadOnlyFolderGivesAMessageAndLeavesTheOldFileUntouched() {
    if (geteuid() == 0)
        QSKIP("permissions do not stop the superuser");
    QTemporaryDir folder;
    const QString target = folder.filePath("lines.txt");
    {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old lines");
    }
    QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    FillSmallMap(main.state());
    main.check(1).setChecked(true);

    dialogs.answerFile(target);
    Trigger(main, "mnuAxial");

    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const DialogCall* failure = FailureMessage(dialogs);
    QVERIFY(failure);
    QCOMPARE(failure->text, "Could not write \"" + target + "\": Permission denied");
    QCOMPARE(Contents(target), QByteArray("old lines"));
    QCOMPARE(FilesIn(folder.path()), QStringList{"lines.txt"});
}

QTEST_MAIN(TextExportsTest)
#include "test_text_exports.moc"
