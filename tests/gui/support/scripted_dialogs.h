// Dialogs that answer from a script and record every call, for tests.
#pragma once

#include "gui/host/dialogs.h"

#include <QStringList>
#include <deque>
#include <vector>

namespace vantrel::testing {

// One recorded dialog call.
struct DialogCall {
    enum class Kind { Message, Input, Choice, OpenFile, SaveFile, Colour, Printer } kind;
    QString text;  // message text or input prompt
    QString title; // message or input title
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    FileRequest file;
    std::optional<QPoint> position;
    std::optional<QRect> keepClear = std::nullopt;
    QStringList items = {}; // the items of a choice
};

// What a scripted dialog answers; an empty text or colour means Cancel.
struct ScriptedAnswer {
    enum class Kind { Message, Text, Choice, Colour, Printer } kind;
    MessageAnswer message = MessageAnswer::Ok;
    bool cancelled = false;
    QString text;
    QColor colour;
};

class ScriptedDialogs final : public Dialogs {
public:
    // Queue answers in the order the dialogs will appear.
    void answerMessage(MessageAnswer answer);
    void answerInput(std::optional<QString> text);
    void answerFile(std::optional<QString> path);
    // Chooses the item that starts with `item` from the next list.
    void answerChoice(std::optional<QString> item);
    void answerColour(std::optional<QColor> colour);
    // Accepts the printer dialog, printing into a PDF file, or cancels it.
    void answerPrinter(std::optional<QString> pdfPath);

    MessageAnswer message(const QString& text, const QString& title, MessageButtons buttons,
                          MessageIcon icon, std::optional<QRect> keepClear = std::nullopt) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 std::optional<QPoint> position) override;
    std::optional<int> choose(const QString& prompt, const QString& title,
                              const QStringList& items) override;
    std::optional<QString> openFile(const FileRequest& request) override;
    std::optional<QString> saveFile(const FileRequest& request) override;
    std::optional<QColor> colour(const QColor& initial) override;
    bool printer(QPrinter& printer) override;

    const std::vector<DialogCall>& calls() const { return m_calls; }
    // The texts of the message boxes shown, in order.
    QStringList messageTexts() const;
    // Dialogs that appeared with no answer queued for them (each answered Cancel or OK).
    const QStringList& unexpected() const { return m_unexpected; }
    bool allAnswersUsed() const { return m_answers.empty(); }
    void clear();

private:
    // The next queued answer if it is of this kind; records the call either way.
    std::optional<ScriptedAnswer> next(const DialogCall& call, ScriptedAnswer::Kind kind);

    std::deque<ScriptedAnswer> m_answers;
    std::vector<DialogCall> m_calls;
    QStringList m_unexpected;
};

} // namespace vantrel::testing
