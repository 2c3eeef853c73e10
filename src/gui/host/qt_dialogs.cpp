#include "gui/host/qt_dialogs.h"

#include "gui/host/twips.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>

namespace vantrel {

QString QtFilter(const QString& classicFilter) {
    const QStringList parts = classicFilter.split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        filters << QStringLiteral("%1 (%2)").arg(parts[i].section(" (", 0, 0),
                                                 patterns.simplified());
    }
    return filters.isEmpty() ? classicFilter : filters.join(";;");
}

namespace {

// Beside the rectangle, right, left, below or above it, the first place where the whole box is on
// the screen; where none is, the box stays where Qt puts it.
void PlaceClearOf(QWidget& box, const QRect& keepClear) {
    constexpr int kDistance = 24;
    box.adjustSize();
    const QSize size = box.size();
    const QScreen* screen = QGuiApplication::screenAt(keepClear.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const int middleX = keepClear.center().x() - size.width() / 2;
    const int middleY = keepClear.center().y() - size.height() / 2;
    for (const QPoint corner : {QPoint(keepClear.right() + kDistance, middleY),
                                QPoint(keepClear.left() - kDistance - size.width(), middleY),
                                QPoint(middleX, keepClear.bottom() + kDistance),
                                QPoint(middleX, keepClear.top() - kDistance - size.height())}) {
        if (area.contains(QRect(corner, size))) {
            box.move(corner);
            return;
        }
    }
}

} // namespace

// A dialog belongs to the window it was asked from, which the user returns to when it closes.
QWidget* QtDialogs::owner() const {
    QWidget* active = QApplication::activeWindow();
    return active ? active : m_parent;
}

MessageAnswer QtDialogs::message(const QString& text, const QString& title, MessageButtons buttons,
                                 MessageIcon icon, std::optional<QRect> keepClear) {
    QMessageBox box(owner());
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    }
    switch (buttons) {
    case MessageButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MessageButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MessageButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case MessageButtons::SaveDiscardCancel:
        box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Save);
        break;
    case MessageButtons::RestoreDiscard:
        box.setStandardButtons(QMessageBox::Discard);
        box.setDefaultButton(box.addButton("&Restore", QMessageBox::AcceptRole));
        break;
    }
    if (keepClear)
        PlaceClearOf(box, *keepClear);
    const int pressed = box.exec();
    // Only an explicit Discard throws kept work away.
    if (buttons == MessageButtons::RestoreDiscard)
        return box.clickedButton() == box.button(QMessageBox::Discard) ? MessageAnswer::Discard
                                                                       : MessageAnswer::Restore;
    switch (pressed) {
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Ok: return MessageAnswer::Ok;
    case QMessageBox::Save: return MessageAnswer::Save;
    case QMessageBox::Discard: return MessageAnswer::Discard;
    default: return MessageAnswer::Cancel;
    }
}

std::optional<QString> QtDialogs::input(const QString& prompt, const QString& title,
                                        std::optional<QPoint> position) {
    QInputDialog dialog(owner());
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    if (position)
        dialog.move(TwipsToPixels(position->x()), TwipsToPixels(position->y()));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

std::optional<int> QtDialogs::choose(const QString& prompt, const QString& title,
                                     const QStringList& items) {
    QInputDialog dialog(owner());
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setComboBoxItems(items);
    dialog.setOption(QInputDialog::UseListViewForComboBoxItems);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const auto chosen = items.indexOf(dialog.textValue());
    return chosen < 0 ? std::nullopt : std::optional<int>(static_cast<int>(chosen));
}

std::optional<QString> QtDialogs::openFile(const FileRequest& request) {
    const QString path =
        QFileDialog::getOpenFileName(owner(), QString(), m_lastFolder, QtFilter(request.filter));
    if (path.isEmpty())
        return std::nullopt;
    m_lastFolder = QFileInfo(path).absolutePath();
    return path;
}

std::optional<QString> QtDialogs::saveFile(const FileRequest& request) {
    QFileDialog dialog(owner());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QtFilter(request.filter));
    dialog.setDefaultSuffix(request.defaultExtension);
    if (!m_lastFolder.isEmpty())
        dialog.setDirectory(m_lastFolder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString path = dialog.selectedFiles().constFirst();
    m_lastFolder = QFileInfo(path).absolutePath();
    return path;
}

std::optional<QColor> QtDialogs::colour(const QColor& initial) {
    const QColor chosen = QColorDialog::getColor(initial, owner());
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

bool QtDialogs::printer(QPrinter& printer) {
    QPrintDialog dialog(&printer, owner());
    return dialog.exec() == QDialog::Accepted;
}

} // namespace vantrel
