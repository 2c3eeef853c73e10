#include "gui/app/message_panel.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace vantrel {

namespace {
constexpr int kTitlePoints = 12;
constexpr int kExplanationPoints = 10;
} // namespace

void SetBoxText(QPlainTextEdit& box, const QString& text, int points) {
    QFont font = box.font();
    font.setPointSize(points);
    box.setFont(font);
    box.setPlainText(text);
}

MessagePanel::MessagePanel(QLabel& heading, QPlainTextEdit& title, QPlainTextEdit& advice,
                           QPlainTextEdit& explanation5, QPlainTextEdit& explanation6,
                           QPlainTextEdit& explanation7)
    : m_heading(heading), m_title(title), m_advice(advice), m_explanation5(explanation5),
      m_explanation6(explanation6), m_explanation7(explanation7) {}

void MessagePanel::setTitle(const QString& text) { SetBoxText(m_title, text, kTitlePoints); }

void MessagePanel::setExplanation(int box, const QString& text) {
    SetBoxText(this->box(box), text, kExplanationPoints);
}

void MessagePanel::clearExplanations() {
    for (int number = 5; number <= 7; ++number)
        box(number).clear();
}

void MessagePanel::show(const QString& title, const QString& line5, const QString& line6,
                        const QString& line7) {
    setTitle(title);
    setExplanation(5, line5);
    setExplanation(6, line6);
    setExplanation(7, line7);
}

void MessagePanel::showStartTexts() {
    m_heading.setText(" The Text Box Below Tells You What Analytical Operations You Are Using");
    setTitle("First Use Zoom In or Out to Get the Correct Drawing Scale and then FIX It");
    SetBoxText(m_advice, "IMPORTANT ADVICE TO USERS", kTitlePoints);
    setExplanation(5, "This is a generalized space syntax program. It computes both the "
                      "accessibilities of axial lines and their intersections at junctions.");
    setExplanation(6, "In short, the accessibilities of the primal and its dual ");
    setExplanation(7, " This program lets you do space syntax  the traditional way using axial "
                      "lines - the primal problem -  as well as the new way based on junctions "
                      "or nodes - or the dual problem");
}

QPlainTextEdit& MessagePanel::box(int number) const {
    switch (number) {
    case 3: return m_title;
    case 4: return m_advice;
    case 5: return m_explanation5;
    case 6: return m_explanation6;
    default: return m_explanation7;
    }
}

} // namespace vantrel
