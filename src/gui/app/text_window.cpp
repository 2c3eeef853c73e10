#include "gui/app/text_window.h"

#include <QPlainTextEdit>
#include <QShortcut>
#include <QVBoxLayout>

namespace vantrel {

TextWindow::TextWindow() {
    setObjectName("frmText");
    setWindowTitle("Text");
    auto* layout = new QVBoxLayout(this);
    for (int number = 1; number <= 4; ++number) {
        auto* box = new QPlainTextEdit(this);
        box->setObjectName(QStringLiteral("Text%1").arg(number));
        box->setAccessibleName(QStringLiteral("Paragraph %1").arg(number));
        box->setReadOnly(true);
        layout->addWidget(box);
        m_boxes[number] = box;
    }
    resize(640, 600);
    // A window to read and put away: Escape closes it.
    new QShortcut(QKeySequence::Cancel, this, this, &QWidget::close);
}

QPlainTextEdit& TextWindow::box(int number) const { return *m_boxes.at(number); }

void TextWindow::showTexts(const QString& caption, const std::array<QString, 4>& texts) {
    setWindowTitle(caption);
    setAccessibleName(caption);
    for (int number = 1; number <= 4; ++number) {
        m_boxes[number]->setPlainText(texts[number - 1]);
        m_boxes[number]->show();
    }
    show();
    raise();
}

void TextWindow::showSingleText(const QString& caption, const QString& text) {
    setWindowTitle(caption);
    setAccessibleName(caption);
    m_boxes[1]->setPlainText(text);
    m_boxes[1]->show();
    for (int number = 2; number <= 4; ++number)
        m_boxes[number]->hide();
    show();
    raise();
}

} // namespace vantrel
