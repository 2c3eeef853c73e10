// Every modal interaction of the program goes through this interface, so that each operation can
// be driven and checked by tests.
#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>

class QPrinter;

namespace vantrel {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, SaveDiscardCancel, RestoreDiscard };
enum class MessageIcon { None, Question, Information, Warning, Critical };
enum class MessageAnswer { Ok, Cancel, Yes, No, Save, Discard, Restore };

// A file filter in the classic form "Text (*.txt)|*.txt": description and patterns in pairs.
struct FileRequest {
    QString filter;
    QString defaultExtension; // without the point, empty for none
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // `keepClear`, in screen pixels, is what the box must not cover: the marks it asks about.
    virtual MessageAnswer message(const QString& text, const QString& title, MessageButtons buttons,
                                  MessageIcon icon,
                                  std::optional<QRect> keepClear = std::nullopt) = 0;
    // The text typed, or nothing when the box was cancelled. `position` is in twips.
    virtual std::optional<QString> input(const QString& prompt, const QString& title,
                                         std::optional<QPoint> position = std::nullopt) = 0;
    // The index of the item chosen from a list, or nothing when the box was cancelled.
    virtual std::optional<int> choose(const QString& prompt, const QString& title,
                                      const QStringList& items) = 0;
    virtual std::optional<QString> openFile(const FileRequest& request) = 0;
    virtual std::optional<QString> saveFile(const FileRequest& request) = 0;
    // The colour chosen, or nothing when the dialog was cancelled.
    virtual std::optional<QColor> colour(const QColor& initial) = 0;
    // Lets the user set up `printer`; false when cancelled.
    virtual bool printer(QPrinter& printer) = 0;
};

// The message box used for the program's warnings: question icon and a single OK button.
inline void Warn(Dialogs& dialogs, const QString& text, const QString& title) {
    dialogs.message(text, title, MessageButtons::Ok, MessageIcon::Question);
}

} // namespace vantrel
