// The help window (`frmHelp`).
#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace vantrel {

// Where the help text sends readers for more.
inline constexpr const char* kWebSiteAddress = "https://www.example.org/vantrel";

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    HelpWindow();
    QPlainTextEdit& box() const { return *m_box; }

private:
    QPlainTextEdit* m_box;
};

} // namespace vantrel
