// The picture operations of the map windows: opening a plan, saving, printing, copying, pasting
// and clearing, on the main window and on the results and numbered map windows.
#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/display/numbered_map_window.h"
#include "gui/display/results_window.h"
#include "gui/host/image_files.h"
#include "support/gui_test_support.h"
#include "support/main_window_session.h"
#include "support/scripted_dialogs.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDataStream>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

using namespace vantrel;
using namespace vantrel::testing;

namespace {

const QString kOpenTitle = "Opening the Map Window";
const QString kSaveTitle = "Saving the Map Window";

QImage Plan(QSize size) {
    QImage plan(size, QImage::Format_RGB32);
    plan.fill(QColor(250, 240, 200));
    for (int x = 0; x < size.width(); ++x)
        for (int y = x % 20; y < size.height(); y += 20)
            plan.setPixelColor(x, y, QColor(0, 100, 0));
    return plan;
}

QString WritePlan(const QTemporaryDir& folder, const QString& name, const QImage& plan) {
    const QString path = folder.filePath(name);
    const QString failure = WriteImageFile(plan, path);
    if (!failure.isEmpty())
        qFatal("cannot write %s: %s", qPrintable(path), qPrintable(failure));
    return path;
}

QByteArray FileFormat(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QImageReader(&file).format();
}

struct Session : MainWindowSession {
    // Opens a plan, answering the explanation box and the file dialog.
    void open(const QString& path) {
        dialogs.answerFile(path);
        Trigger(main, "mnuOpen");
    }
    void drawTwoLines() {
        Click(main, "Command17");
        Drag(map(), {10, 10}, {150, 100});
        Drag(map(), {10, 100}, {150, 10});
    }
    const DialogCall& lastMessage() const {
        for (auto call = dialogs.calls().rbegin(); call != dialogs.calls().rend(); ++call)
            if (call->kind == DialogCall::Kind::Message)
                return *call;
        qFatal("no message box was shown");
    }
};

void ExpectExplanation(const DialogCall& call, const QString& text, const QString& title) {
    QCOMPARE(call.kind, DialogCall::Kind::Message);
    QCOMPARE(call.text, text);
    QCOMPARE(call.title, title);
    QCOMPARE(call.icon, MessageIcon::Question);
    QCOMPARE(call.buttons, MessageButtons::Ok);
}

bool IsFilledWith(const QImage& image, const QColor& colour) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != colour)
                return false;
    return true;
}

// A 24-bit BMP header claiming 100000 by 100000 pixels, with nothing after it.
QByteArray HugeBmpHeader() {
    QByteArray bmp("BM");
    QDataStream out(&bmp, QIODevice::Append);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(54) << quint32(0) << quint32(54) << quint32(40) << qint32(100000)
        << qint32(100000) << quint16(1) << quint16(24) << quint32(0) << quint32(0) << qint32(0)
        << qint32(0) << quint32(0) << quint32(0);
    return bmp;
}

} // namespace

class PictureOperationsTest : public QObject {
    Q_OBJECT
private slots:
    void openingAPlanSizesTheMapToItAndStartsANewProject();
    void everyPlanFormatOpens();
    void aCancelledOpenLeavesTheLinesAndTheMap();
    void aBrokenOrHugeFileIsReportedAndChangesNothing();
    void zoomAndResetRepaintTheOpenedPlan();
    void savingWritesTheFormatTheExtensionNames();
    void savingUnderANameTheProgramCannotWriteIsRefused();
    void savingToAPlaceThatCannotBeWrittenIsReported();
    void printingWritesTheMapToAPdfFile();
    void aCancelledPrintOrSaveDoesNothing();
    void copyThenPasteRoundTripsTheMapWindow();
    void pasteBeforeAnyCopyEmptiesTheMapWindow();
    void clearEmptiesTheMapButKeepsEveryLine();
    void menuMessagesCanBeSwitchedOff();
    void resultsWindowsOpenWithoutResetAndHideTheirSteppingGroups();
    void resultsWindowsSaveCopyPasteAndClearTheirOwnPicture();
    void numberedMapWindowsSaveAndPrint();
};

void PictureOperationsTest::openingAPlanSizesTheMapToItAndStartsANewProject() {
    QTemporaryDir folder;
    Session session;
    session.drawTwoLines();
    const QImage plan = Plan({320, 200});
    const QString path = WritePlan(folder, "plan.png", plan);

    session.open(path);

    QCOMPARE(session.dialogs.calls().size(), size_t(2));
    ExpectExplanation(session.dialogs.calls()[0],
                      "This let's you open a map in the window from a jpeg/bitmap or gif file",
                      kOpenTitle);
    const DialogCall& dialog = session.dialogs.calls()[1];
    QCOMPARE(dialog.kind, DialogCall::Kind::OpenFile);
    for (const char* pattern : {"*.jpg", "*.gif", "*.bmp", "*.png"})
        QVERIFY(dialog.file.filter.contains(pattern));

    QCOMPARE(session.map().image(), plan);
    QCOMPARE(session.map().widthUnits(), 4800.0);
    QCOMPARE(session.map().heightUnits(), 3000.0);
    QCOMPARE(session.main.storedPlan(), plan);
    const ProjectState& state = session.state();
    QCOMPARE(state.LineCount(), 0);
    QCOMPARE(session.main.box(1).text(), QString());
    QVERIFY(!state.DrawingEnabled);
    QCOMPARE(state.MapWidth, 4800.0f);
    QCOMPARE(state.MapHeight, 3000.0f);
    QCOMPARE(state.InsetScaleX, static_cast<float>(3300.0 / 4800.0));
    QVERIFY(session.main.command(17).isVisible());
    QCOMPARE(session.main.panel().box(3).toPlainText(),
             QString("First Use Zoom In or Out to Get the Correct Drawing Scale and then FIX It"));
    QVERIFY(session.main.panel().box(3).geometry().left() > session.map().geometry().right());
}

void PictureOperationsTest::everyPlanFormatOpens() {
    QTemporaryDir folder;
    const QImage plan = Plan({90, 70});
    for (const char* name : {"plan.jpg", "plan.gif", "plan.bmp", "plan.png", "plan.jpeg"}) {
        Session session;
        session.open(WritePlan(folder, name, plan));
        QCOMPARE(session.map().image().size(), QSize(90, 70));
        QCOMPARE(session.map().image().pixelColor(45, 1).green() > 200, true);
        QVERIFY2(session.dialogs.messageTexts().size() == 1, name);
    }
}

void PictureOperationsTest::aCancelledOpenLeavesTheLinesAndTheMap() {
    QTemporaryDir folder;
    Session session;
    session.open(WritePlan(folder, "first.bmp", Plan({300, 200})));
    session.drawTwoLines();
    const QImage before = session.map().image();
    const std::vector<AxialLine> lines = session.state().AxialLines;

    session.dialogs.answerFile(std::nullopt);
    Trigger(session.main, "mnuOpen");

    QCOMPARE(session.state().AxialLines, lines);
    QCOMPARE(session.main.box(1).text(), QString("2"));
    QVERIFY(session.state().DrawingEnabled);
    QCOMPARE(session.map().image(), before);
    QCOMPARE(session.main.storedPlan(), Plan({300, 200}));
}

void PictureOperationsTest::aBrokenOrHugeFileIsReportedAndChangesNothing() {
    QTemporaryDir folder;
    Session session;
    session.open(WritePlan(folder, "first.png", Plan({300, 200})));
    session.drawTwoLines();
    const QImage before = session.map().image();

    const QString notAPicture = folder.filePath("notes.jpg");
    QFile notes(notAPicture);
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("Notes about the plan, not a picture.");
    notes.close();
    const QString huge = folder.filePath("huge.bmp");
    QFile hugeFile(huge);
    QVERIFY(hugeFile.open(QIODevice::WriteOnly));
    hugeFile.write(HugeBmpHeader());
    hugeFile.close();
    const QString cut = WritePlan(folder, "cut.png", Plan({300, 200}));
    QFile cutFile(cut);
    QVERIFY(cutFile.open(QIODevice::ReadWrite));
    cutFile.resize(cutFile.size() / 2);
    cutFile.close();

    for (const QString& path : {notAPicture, huge, cut, folder.filePath("missing.gif")}) {
        session.dialogs.clear();
        session.open(path);
        const DialogCall& report = session.lastMessage();
        QCOMPARE(report.title, kOpenTitle);
        QVERIFY2(report.text.contains(path), qPrintable(report.text));
        QCOMPARE(session.state().LineCount(), 2);
        QCOMPARE(session.map().image(), before);
        QCOMPARE(session.main.storedPlan(), Plan({300, 200}));
    }
    session.dialogs.clear();
    session.open(huge);
    QVERIFY(session.lastMessage().text.contains("100000 by 100000"));
}

void PictureOperationsTest::zoomAndResetRepaintTheOpenedPlan() {
    QTemporaryDir folder;
    Session session;
    const QImage plan = Plan({200, 100});
    session.open(WritePlan(folder, "plan.png", plan));
    Click(session.main, "Command15");
    QCOMPARE(session.map().image().size(), QSize(220, 110));
    session.drawTwoLines();
    Click(session.main, "Command5");
    QCOMPARE(session.map().image(), plan);
}

void PictureOperationsTest::savingWritesTheFormatTheExtensionNames() {
    QTemporaryDir folder;
    Session session;
    session.open(WritePlan(folder, "plan.png", Plan({200, 150})));
    session.drawTwoLines();
    const QImage shown = session.map().image();

    const struct {
        const char* name;
        QByteArray format;
    } files[] = {{"map.jpg", "jpeg"}, {"map.bmp", "bmp"}, {"map.png", "png"}, {"map.gif", "gif"}};
    for (const auto& file : files) {
        session.dialogs.clear();
        const QString path = folder.filePath(file.name);
        session.dialogs.answerFile(path);
        Trigger(session.main, "mnuMap");
        QCOMPARE(session.dialogs.calls().size(), size_t(2));
        ExpectExplanation(session.dialogs.calls()[0],
                          "This let's you save the graphics in the window as a jpg,gif or bmp file",
                          kSaveTitle);
        QCOMPARE(session.dialogs.calls()[1].kind, DialogCall::Kind::SaveFile);
        QCOMPARE(FileFormat(path), file.format);
        const QImage saved = ReadImageFile(path).image.convertToFormat(QImage::Format_RGB32);
        QCOMPARE(saved.size(), shown.size());
        if (file.format != "jpeg")
            QCOMPARE(saved, shown);
    }

    // A saved map opens again as the plan of a new project.
    session.open(folder.filePath("map.gif"));
    QCOMPARE(session.map().image(), shown);
    QCOMPARE(session.state().LineCount(), 0);
}

void PictureOperationsTest::savingUnderANameTheProgramCannotWriteIsRefused() {
    QTemporaryDir folder;
    Session session;
    const QString path = folder.filePath("map.tiff");
    session.dialogs.answerFile(path);
    Trigger(session.main, "mnuMap");
    const DialogCall& report = session.lastMessage();
    QCOMPARE(report.title, kSaveTitle);
    QVERIFY(report.text.contains(path));
    QVERIFY(report.text.contains(".gif"));
    QVERIFY(!QFile::exists(path));
}

void PictureOperationsTest::savingToAPlaceThatCannotBeWrittenIsReported() {
    QTemporaryDir folder;
    Session session;
    const QString plain = WritePlan(folder, "plain.png", Plan({10, 10}));
    const QString path = plain + "/map.png";
    session.dialogs.answerFile(path);
    Trigger(session.main, "mnuMap");
    const DialogCall& report = session.lastMessage();
    QCOMPARE(report.title, kSaveTitle);
    QVERIFY(report.text.contains(path));
    QCOMPARE(ReadImageFile(plain).image.convertToFormat(QImage::Format_RGB32), Plan({10, 10}));
}

void PictureOperationsTest::printingWritesTheMapToAPdfFile() {
    QTemporaryDir folder;
    Session session;
    session.drawTwoLines();
    const QString pdf = folder.filePath("map.pdf");
    session.dialogs.answerPrinter(pdf);
    Trigger(session.main, "mnuMapWindow");
    ExpectExplanation(session.dialogs.calls()[0],
                      "This let's you print the graphics in the window on the selected printer",
                      "Printing the Map Window");
    QCOMPARE(session.dialogs.calls()[1].kind, DialogCall::Kind::Printer);
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(5) == "%PDF-");
    QVERIFY(file.size() > 1000);
    QVERIFY(session.dialogs.unexpected().isEmpty());
}

void PictureOperationsTest::aCancelledPrintOrSaveDoesNothing() {
    QTemporaryDir folder;
    Session session;
    session.dialogs.answerPrinter(std::nullopt);
    Trigger(session.main, "mnuMapWindow");
    session.dialogs.answerFile(std::nullopt);
    Trigger(session.main, "mnuMap");
    QCOMPARE(session.dialogs.messageTexts().size(), 2);
    QVERIFY(session.dialogs.unexpected().isEmpty());
    QVERIFY(QDir(folder.path()).isEmpty());
}

void PictureOperationsTest::copyThenPasteRoundTripsTheMapWindow() {
    QTemporaryDir folder;
    Session session;
    session.open(WritePlan(folder, "plan.bmp", Plan({250, 180})));
    session.drawTwoLines();
    const QImage shown = session.map().image();

    Trigger(session.main, "mnuCopy");
    ExpectExplanation(session.lastMessage(),
                      "This let's you copy the contents of the window to a clipboard",
                      "Copying the Map Window");
    QCOMPARE(session.main.pictureStore(), shown);
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), shown);

    Trigger(session.main, "mnuClear");
    QVERIFY(IsFilledWith(session.map().image(), Qt::white));
    // Paste reads the program's own store, whatever another program put on the clipboard.
    QGuiApplication::clipboard()->setImage(Plan({20, 20}));
    Trigger(session.main, "mnuPaste");
    ExpectExplanation(session.lastMessage(),
                      "This let's you paste whatever you most recently copied to the clipboard to "
                      "the current window",
                      "Pasting into the Map Window");
    QCOMPARE(session.map().image(), shown);
    QCOMPARE(session.state().LineCount(), 2);
}

void PictureOperationsTest::pasteBeforeAnyCopyEmptiesTheMapWindow() {
    QTemporaryDir folder;
    Session session;
    session.open(WritePlan(folder, "plan.bmp", Plan({250, 180})));
    Trigger(session.main, "mnuPaste");
    QCOMPARE(session.map().image().size(), QSize(250, 180));
    QVERIFY(IsFilledWith(session.map().image(), Qt::white));
}

void PictureOperationsTest::clearEmptiesTheMapButKeepsEveryLine() {
    QTemporaryDir folder;
    Session session;
    session.open(WritePlan(folder, "plan.gif", Plan({250, 180})));
    session.drawTwoLines();
    const std::vector<AxialLine> lines = session.state().AxialLines;
    Trigger(session.main, "mnuClear");
    ExpectExplanation(session.lastMessage(),
                      "This let's you clear whatever is in the current window",
                      "Clearing the Map Window");
    QVERIFY(IsFilledWith(session.map().image(), Qt::white));
    QCOMPARE(session.state().AxialLines, lines);
    QCOMPARE(session.main.storedPlan(), Plan({250, 180}));
}

void PictureOperationsTest::menuMessagesCanBeSwitchedOff() {
    QTemporaryDir folder;
    Session session;
    session.main.check(1).setChecked(true);
    session.open(WritePlan(folder, "plan.png", Plan({100, 100})));
    Trigger(session.main, "mnuCopy");
    Trigger(session.main, "mnuPaste");
    Trigger(session.main, "mnuClear");
    session.dialogs.answerFile(folder.filePath("map.png"));
    Trigger(session.main, "mnuMap");
    QVERIFY(session.dialogs.messageTexts().isEmpty());
    QVERIFY(QFile::exists(folder.filePath("map.png")));
}

void PictureOperationsTest::resultsWindowsOpenWithoutResetAndHideTheirSteppingGroups() {
    QTemporaryDir folder;
    Session session;
    session.drawTwoLines();
    const QImage picture = Plan({180, 120});
    const QString path = WritePlan(folder, "picture.png", picture);
    for (ResultsWindow* window :
         {&session.workspace().axialResults, &session.workspace().junctionResults}) {
        window->show();
        window->layOutRadiusGroup();
        window->layOutSpanGroup();
        session.dialogs.clear();
        session.dialogs.answerFile(path);
        Trigger(*window, "mnuOpen");

        ExpectExplanation(session.dialogs.calls()[0],
                          "This let's you open a map in the window from a jpeg or bitmap file",
                          kOpenTitle);
        QCOMPARE(window->surface().image(), picture);
        QVERIFY(window->command(1).isHidden());
        QVERIFY(window->command(4).isHidden());
        QCOMPARE(session.state().LineCount(), 2);
        QVERIFY(session.state().DrawingEnabled);
    }
}

void PictureOperationsTest::resultsWindowsSaveCopyPasteAndClearTheirOwnPicture() {
    QTemporaryDir folder;
    Session session;
    ResultsWindow& results = session.workspace().axialResults;
    results.show();
    results.surface().line(0, 0, 1500, 1500, Qt::red);
    const QImage drawn = results.surface().image();

    results.layOutRadiusGroup();
    const QString path = folder.filePath("results.jpg");
    session.dialogs.answerFile(path);
    Trigger(results, "mnuMap");
    ExpectExplanation(session.dialogs.calls()[0],
                      "This let's you save the graphics in the window as a jpeg file", kSaveTitle);
    QVERIFY(results.command(1).isHidden());
    QCOMPARE(FileFormat(path), QByteArray("jpeg"));

    const QString pdf = folder.filePath("results.pdf");
    session.dialogs.answerPrinter(pdf);
    Trigger(results, "mnuMapWindow");
    QVERIFY(QFile::exists(pdf));

    // Copied from the results window, pasted into the map window.
    results.layOutSpanGroup();
    Trigger(results, "mnuCopy");
    QVERIFY(results.command(4).isHidden());
    Trigger(session.main, "mnuPaste");
    QCOMPARE(session.map().image(), drawn);

    Trigger(results, "mnuClear");
    QVERIFY(IsFilledWith(results.surface().image(), Qt::black));

    session.open(WritePlan(folder, "plan.png", Plan({120, 90})));
    Trigger(session.main, "mnuCopy");
    Trigger(results, "mnuPaste");
    QCOMPARE(results.surface().image(), Plan({120, 90}));
    QVERIFY(session.dialogs.unexpected().isEmpty());
}

void PictureOperationsTest::numberedMapWindowsSaveAndPrint() {
    QTemporaryDir folder;
    Session session;
    for (NumberedMapWindow* window :
         {&session.workspace().numberedAxialMap, &session.workspace().numberedJunctionMap}) {
        window->surface().line(0, 0, 3000, 1500, Qt::red);
        session.dialogs.clear();
        const QString path = folder.filePath(window->objectName() + ".bmp");
        session.dialogs.answerFile(path);
        Trigger(*window, "mnuMap");
        ExpectExplanation(session.dialogs.calls()[0],
                          "This let's you save the graphics in the window as a jpeg file",
                          kSaveTitle);
        QCOMPARE(ReadImageFile(path).image.convertToFormat(QImage::Format_RGB32),
                 window->surface().image());

        const QString pdf = folder.filePath(window->objectName() + ".pdf");
        session.dialogs.answerPrinter(pdf);
        Trigger(*window, "mnuMapWindow");
        QVERIFY(QFile::exists(pdf));
        QVERIFY(session.dialogs.unexpected().isEmpty());
    }
}

QTEST_MAIN(PictureOperationsTest)
#include "test_picture_operations.moc"
