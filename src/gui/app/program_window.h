// The window `Form2` ("This Program"): one picture of what the program does.
#pragma once

#include <QWidget>

class QLabel;

namespace vantrel {

class ProgramWindow : public QWidget {
    Q_OBJECT
public:
    ProgramWindow();
    QLabel& picture() const { return *m_picture; }

private:
    QLabel* m_picture;
};

// A small diagram of axial lines, their junctions and the colour scale, drawn by the program.
QImage ProgramDiagram(int width, int height);

} // namespace vantrel
