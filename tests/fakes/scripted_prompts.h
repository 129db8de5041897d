#pragma once

#include <QStringList>
#include <deque>

#include "platform/clock.h"
#include "platform/keyboard_state.h"
#include "platform/prompts.h"

// Answers queued by a test for every question the window asks; records what
// was asked. An unexpected question is answered "Cancel" and shows up in
// asked(), so a test that did not expect it fails on the record.
class ScriptedPrompts final : public platform::Prompts {
public:
    std::deque<bool> confirmAnswers;
    std::deque<bool> yesNoAnswers;
    std::deque<std::optional<QFont>> fontAnswers;
    std::deque<std::optional<QString>> fileAnswers;

    const QStringList& asked() const { return m_asked; }
    void clearAsked() { m_asked.clear(); }
    // The dialogs as they were when asked: filters, suffix, offered path.
    const QList<FileDialog>& fileDialogs() const { return m_fileDialogs; }
    const QList<QFont>& fontsOffered() const { return m_fontsOffered; }

    bool confirm(const QString& caption, const QString& text) override
    {
        m_asked.append(QStringLiteral("confirm:") + caption + u'|' + text);
        return pop(confirmAnswers, false);
    }
    bool askYesNo(const QString& caption, const QString& text) override
    {
        m_asked.append(QStringLiteral("yesno:") + caption + u'|' + text);
        return pop(yesNoAnswers, false);
    }
    void error(const QString& text) override
    {
        m_asked.append(QStringLiteral("error:") + platform::ErrorBoxText(text));
    }
    void message(const QString& text) override
    {
        m_asked.append(QStringLiteral("message:") + text);
    }
    std::optional<QFont> chooseFont(const QFont& initial) override
    {
        m_asked.append(QStringLiteral("font"));
        m_fontsOffered.append(initial);
        return pop(fontAnswers, std::optional<QFont>());
    }
    std::optional<QString> chooseFile(FileDialog& dialog) override
    {
        m_asked.append(QStringLiteral("file"));
        m_fileDialogs.append(dialog);
        std::optional<QString> answer = pop(fileAnswers, std::optional<QString>());
        if (answer.has_value()) dialog.lastPath = answer.value();
        return answer;
    }
    void messageDialog(MessageKind kind, const QString& text) override
    {
        m_asked.append((kind == MessageKind::Information ? QStringLiteral("information:")
                                                         : QStringLiteral("errorDialog:")) +
                       text);
    }

private:
    template <typename T>
    static T pop(std::deque<T>& answers, T otherwise)
    {
        if (!answers.empty()) {
            otherwise = std::move(answers.front());
            answers.pop_front();
        }
        return otherwise;
    }

    QStringList m_asked;
    QList<FileDialog> m_fileDialogs;
    QList<QFont> m_fontsOffered;
};

class FakeKeyboardState final : public platform::KeyboardState {
public:
    bool num = false;
    bool caps = false;
    bool numLock() const override { return num; }
    bool capsLock() const override { return caps; }
};

class FixedClock final : public platform::Clock {
public:
    QDateTime time = QDateTime(QDate(2026, 12, 8), QTime(9, 30, 15));
    QDateTime now() const override { return time; }
};
