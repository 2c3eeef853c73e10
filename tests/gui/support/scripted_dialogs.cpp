#include "support/scripted_dialogs.h"

#include <QPrinter>

namespace vantrel::testing {

void ScriptedDialogs::answerMessage(MessageAnswer answer) {
    m_answers.push_back({ScriptedAnswer::Kind::Message, answer, false, {}, {}});
}
void ScriptedDialogs::answerInput(std::optional<QString> text) {
    m_answers.push_back({ScriptedAnswer::Kind::Text, {}, !text, text.value_or(QString()), {}});
}
void ScriptedDialogs::answerFile(std::optional<QString> path) { answerInput(std::move(path)); }
void ScriptedDialogs::answerChoice(std::optional<QString> item) {
    m_answers.push_back({ScriptedAnswer::Kind::Choice, {}, !item, item.value_or(QString()), {}});
}
void ScriptedDialogs::answerColour(std::optional<QColor> colour) {
    m_answers.push_back(
        {ScriptedAnswer::Kind::Colour, {}, !colour, {}, colour.value_or(QColor())});
}
void ScriptedDialogs::answerPrinter(std::optional<QString> pdfPath) {
    m_answers.push_back(
        {ScriptedAnswer::Kind::Printer, {}, !pdfPath, pdfPath.value_or(QString()), {}});
}

std::optional<ScriptedAnswer> ScriptedDialogs::next(const DialogCall& call,
                                                    ScriptedAnswer::Kind kind) {
    m_calls.push_back(call);
    if (!m_answers.empty() && m_answers.front().kind == kind) {
        ScriptedAnswer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    m_unexpected << (call.title.isEmpty() ? call.text : call.title + ": " + call.text);
    return std::nullopt;
}

MessageAnswer ScriptedDialogs::message(const QString& text, const QString& title,
                                       MessageButtons buttons, MessageIcon icon,
                                       std::optional<QRect> keepClear) {
    const DialogCall call{DialogCall::Kind::Message, text, title, buttons, icon, {}, {}, keepClear};
    // A box with a single OK button needs no scripted answer.
    if (buttons == MessageButtons::Ok) {
        m_calls.push_back(call);
        return MessageAnswer::Ok;
    }
    const auto answer = next(call, ScriptedAnswer::Kind::Message);
    return answer ? answer->message : MessageAnswer::Cancel;
}

std::optional<QString> ScriptedDialogs::input(const QString& prompt, const QString& title,
                                              std::optional<QPoint> position) {
    const auto answer = next({DialogCall::Kind::Input, prompt, title, MessageButtons::OkCancel,
                              MessageIcon::None, {}, position},
                             ScriptedAnswer::Kind::Text);
    if (!answer || answer->cancelled)
        return std::nullopt;
    return answer->text;
}

std::optional<int> ScriptedDialogs::choose(const QString& prompt, const QString& title,
                                           const QStringList& items) {
    const auto answer = next({DialogCall::Kind::Choice,
                              prompt,
                              title,
                              MessageButtons::OkCancel,
                              MessageIcon::None,
                              {},
                              {},
                              std::nullopt,
                              items},
                             ScriptedAnswer::Kind::Choice);
    if (!answer || answer->cancelled)
        return std::nullopt;
    for (int index = 0; index < items.size(); ++index)
        if (items[index].startsWith(answer->text))
            return index;
    return std::nullopt;
}

std::optional<QString> ScriptedDialogs::openFile(const FileRequest& request) {
    const auto answer = next({DialogCall::Kind::OpenFile, {}, {}, MessageButtons::Ok,
                              MessageIcon::None, request, {}},
                             ScriptedAnswer::Kind::Text);
    if (!answer || answer->cancelled)
        return std::nullopt;
    return answer->text;
}

std::optional<QString> ScriptedDialogs::saveFile(const FileRequest& request) {
    const auto answer = next({DialogCall::Kind::SaveFile, {}, {}, MessageButtons::Ok,
                              MessageIcon::None, request, {}},
                             ScriptedAnswer::Kind::Text);
    if (!answer || answer->cancelled)
        return std::nullopt;
    return answer->text;
}

std::optional<QColor> ScriptedDialogs::colour(const QColor&) {
    const auto answer = next(
        {DialogCall::Kind::Colour, {}, {}, MessageButtons::Ok, MessageIcon::None, {}, {}},
        ScriptedAnswer::Kind::Colour);
    if (!answer || answer->cancelled)
        return std::nullopt;
    return answer->colour;
}

bool ScriptedDialogs::printer(QPrinter& printer) {
    const auto answer = next(
        {DialogCall::Kind::Printer, {}, {}, MessageButtons::Ok, MessageIcon::None, {}, {}},
        ScriptedAnswer::Kind::Printer);
    if (!answer || answer->cancelled)
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(answer->text);
    return true;
}

QStringList ScriptedDialogs::messageTexts() const {
    QStringList texts;
    for (const DialogCall& call : m_calls)
        if (call.kind == DialogCall::Kind::Message)
            texts << call.text;
    return texts;
}

void ScriptedDialogs::clear() {
    m_answers.clear();
    m_calls.clear();
    m_unexpected.clear();
}

} // namespace vantrel::testing
