// The boxes beside the map window that tell the user what the current operation does.
#pragma once

#include <QString>

class QLabel;
class QPlainTextEdit;

namespace vantrel {

class MessagePanel {
public:
    MessagePanel(QLabel& heading, QPlainTextEdit& title, QPlainTextEdit& advice,
                 QPlainTextEdit& explanation5, QPlainTextEdit& explanation6,
                 QPlainTextEdit& explanation7);

    // `Text3` at font size 12.
    void setTitle(const QString& text);
    // `Text5`, `Text6` or `Text7` (box 5, 6 or 7) at font size 10.
    void setExplanation(int box, const QString& text);
    void clearExplanations();
    // Title and the three explanation lines in one go.
    void show(const QString& title, const QString& line5, const QString& line6,
              const QString& line7);

    // The texts shown at start and after a new project.
    void showStartTexts();

    QPlainTextEdit& box(int number) const;

private:
    QLabel& m_heading;
    QPlainTextEdit& m_title;
    QPlainTextEdit& m_advice;
    QPlainTextEdit& m_explanation5;
    QPlainTextEdit& m_explanation6;
    QPlainTextEdit& m_explanation7;
};

// Sets the text of a panel box and its font size in points.
void SetBoxText(QPlainTextEdit& box, const QString& text, int points);

} // namespace vantrel
