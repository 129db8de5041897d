#pragma once

#include <gtest/gtest.h>
#include <QAction>
#include <QByteArrayView>
#include <QFile>
#include <QTest>
#include <QToolButton>

#include "app/form1/form1.h"
#include "app/memo_edit.h"
#include "fakes/scripted_prompts.h"
#include "markup/editor_lines.h"

// Writes `bytes` to a new file at `path`, for a test to open; returns the path.
inline QString WriteTestFile(const QString& path, QByteArrayView bytes)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), bytes.size());
    return path;
}

// The real main window, shown on the offscreen platform, with scripted
// answers to its questions.
class FormTest : public ::testing::Test {
protected:
    ScriptedPrompts prompts;
    FakeKeyboardState keyboard;
    FixedClock clock;
    TForm1 form{prompts, keyboard, clock};

    void SetUp() override
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    void TearDown() override
    {
        form.Memo1->document()->setModified(false);
        form.close();
    }

    QAction* action(const char* name)
    {
        return form.findChild<QAction*>(QString::fromLatin1(name));
    }
    QToolButton* button(const char* name)
    {
        return form.findChild<QToolButton*>(QString::fromLatin1(name));
    }
    QString text() const { return form.Memo1->toPlainText(); }
    int caret() const { return form.Memo1->textCursor().position(); }
    bool hasSelection() const { return form.Memo1->textCursor().hasSelection(); }
    void select(int start, int end)
    {
        QTextCursor cursor = form.Memo1->textCursor();
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        form.Memo1->setTextCursor(cursor);
    }
    void setText(const QString& text)
    {
        form.Memo1->setPlainText(text);
        QTextCursor cursor = form.Memo1->textCursor();
        cursor.movePosition(QTextCursor::End);
        form.Memo1->setTextCursor(cursor);
    }
};
