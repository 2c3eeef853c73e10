// The main window (`Form1`): map window, inset, message panel, buttons, counters and menus.
#pragma once

#include "core/app/project_state.h"
#include "gui/app/message_panel.h"

#include <QColor>
#include <QImage>
#include <QMainWindow>
#include <array>
#include <memory>
#include <random>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QCloseEvent;
class QScrollArea;
class QScrollBar;

namespace vantrel {

class Dialogs;
class PictureSurface;
class ProjectDocument;
class Windows;
class WindowPlacement;
struct Workspace;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Dialogs& dialogs);
    ~MainWindow() override;

    Workspace& workspace() { return *m_workspace; }
    ProjectState& state() { return m_state; }
    // The file the work belongs to and whether it has changed since it was saved.
    ProjectDocument& project() { return *m_project; }

    PictureSurface& mapWindow() const { return *m_mapWindow; }
    PictureSurface& insetWindow() const { return *m_insetWindow; }
    MessagePanel& panel() { return *m_panel; }
    QPushButton& command(int number) const;
    // The single-line boxes `Text1`, `Text2`, `Text8` .. `Text11`.
    QLineEdit& box(int number) const;
    QLabel& label(int number) const;
    QCheckBox& check(int number) const;
    QScrollBar& widthScrollBar() const { return *m_widthScrollBar; }
    QProgressBar& progressBar() const { return *m_progressBar; }
    QAction& action(const char* objectName) const;

    // "Switch off Menu Messages?" is ticked.
    bool menuMessagesOff() const;

    // Places every control around the map area, in which the map window scrolls when it is
    // larger than the area.
    void layOutAroundMap();
    void measureInsetScales();
    // The threshold and snapping controls hidden, with their start texts.
    void resetThresholdControls();
    // Shows the scale and pen controls (zoom, colour, width, FIX) or hides them.
    void setScaleControlsVisible(bool visible);

    // The plan as last opened, which zooming and resets repaint from.
    QImage& storedPlan() { return m_storedPlan; }
    // The program's own picture store for Copy and Paste.
    QImage& pictureStore() { return m_pictureStore; }
    // The colour last chosen in the pen colour dialog, which a cancelled dialog keeps.
    QColor& penDialogColour() { return m_penDialogColour; }
    // The default extension the text exports give the save dialog: none until a file is chosen.
    QString& textExportExtension() { return m_textExportExtension; }
    // The host's random generator, started once per run from the system's entropy.
    std::mt19937& randomNumbers() { return m_randomNumbers; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createWidgets();
    void createMenus();
    void setUpAtStart();
    void layOutPanel();
    QRect secondaryWindowRoom() const;

    ProjectState m_state;
    QImage m_storedPlan;
    QImage m_pictureStore;
    QColor m_penDialogColour = Qt::black;
    QString m_textExportExtension;
    std::mt19937 m_randomNumbers{std::random_device{}()};
    std::unique_ptr<Windows> m_windows;
    std::unique_ptr<WindowPlacement> m_placement;
    std::unique_ptr<Workspace> m_workspace;
    std::unique_ptr<MessagePanel> m_panel;
    std::unique_ptr<ProjectDocument> m_project;

    QWidget* m_canvas = nullptr;
    QScrollArea* m_mapArea = nullptr;
    PictureSurface* m_mapWindow = nullptr;
    // Pixel bottoms of the button column and of the controls under the map area.
    int m_columnBottom = 0;
    int m_mapColumnBottom = 0;
    PictureSurface* m_insetWindow = nullptr;
    QScrollBar* m_widthScrollBar = nullptr;
    QProgressBar* m_progressBar = nullptr;
    std::array<QPushButton*, 35> m_commands{};
    std::array<QLineEdit*, 12> m_boxes{};
    std::array<QPlainTextEdit*, 8> m_panelBoxes{};
    std::array<QLabel*, 6> m_labels{};
    std::array<QCheckBox*, 4> m_checks{};
};

} // namespace vantrel
