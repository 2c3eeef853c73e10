// The real dialogs of the desktop.
#pragma once

#include "gui/host/dialogs.h"

class QWidget;

namespace vantrel {

class QtDialogs final : public Dialogs {
public:
    // Dialogs belong to the active window, or to `parent` when no window of the program is
    // active.
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    MessageAnswer message(const QString& text, const QString& title, MessageButtons buttons,
                          MessageIcon icon, std::optional<QRect> keepClear) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 std::optional<QPoint> position) override;
    std::optional<int> choose(const QString& prompt, const QString& title,
                              const QStringList& items) override;
    std::optional<QString> openFile(const FileRequest& request) override;
    std::optional<QString> saveFile(const FileRequest& request) override;
    std::optional<QColor> colour(const QColor& initial) override;
    bool printer(QPrinter& printer) override;

private:
    QWidget* owner() const;

    QWidget* m_parent;
    QString m_lastFolder;
};

// Turns "Text (*.txt)|*.txt" into Qt's "Text (*.txt)".
QString QtFilter(const QString& classicFilter);

} // namespace vantrel
