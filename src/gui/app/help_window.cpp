#include "gui/app/help_window.h"

#include <QPlainTextEdit>
#include <QShortcut>
#include <QVBoxLayout>

namespace vantrel {

HelpWindow::HelpWindow() {
    setObjectName("frmHelp");
    setWindowTitle("Help");
    setAccessibleName("Help");
    auto* layout = new QVBoxLayout(this);
    m_box = new QPlainTextEdit(this);
    m_box->setObjectName("Text1");
    m_box->setAccessibleName("Help Text");
    m_box->setReadOnly(true);
    m_box->setPlainText(QStringLiteral("As yet there is no help or manual for this program. In "
                                       "version 1.01, we will produce a manual. In time, we will "
                                       "put all this online. Visit our web site at ") +
                        kWebSiteAddress);
    layout->addWidget(m_box);
    resize(480, 200);
    new QShortcut(QKeySequence::Cancel, this, this, &QWidget::close);
}

} // namespace vantrel
