// The TextWindow (`frmText`): four text boxes for statistics and About texts.
#pragma once

#include <QWidget>
#include <array>

class QPlainTextEdit;

namespace vantrel {

class TextWindow : public QWidget {
    Q_OBJECT
public:
    TextWindow();

    // `Text1` .. `Text4`.
    QPlainTextEdit& box(int number) const;
    // Sets the caption and the four texts, shows every box and the window.
    void showTexts(const QString& caption, const std::array<QString, 4>& texts);
    // Shows only `Text1`, for a refusal.
    void showSingleText(const QString& caption, const QString& text);

private:
    std::array<QPlainTextEdit*, 5> m_boxes{};
};

} // namespace vantrel
