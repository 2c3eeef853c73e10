// The desktop program.
#include "gui/app/project_document.h"
#include "gui/app/startup.h"
#include "gui/host/qt_dialogs.h"

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Vantrel");
    QApplication::setApplicationVersion("1.02");

    vantrel::QtDialogs dialogs;
    vantrel::Startup startup(dialogs);
    dialogs.setParent(&startup.mainWindow());
    startup.mainWindow().project().keepRecoveryIn(
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    startup.begin();
    return QApplication::exec();
}
