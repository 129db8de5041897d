// The real message boxes show their texts as typed: a file name that looks
// like markup is not rendered as markup.
#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <functional>

#include "platform/prompts.h"

using namespace Qt::Literals::StringLiterals;

namespace {

struct Shown {
    QString caption;
    QString text;
    Qt::TextFormat format = Qt::AutoText;  // how the box's label reads its text
};

// Runs `ask`, reads the box it opens and closes it.
Shown ReadBox(const std::function<void()>& ask)
{
    Shown shown;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        poll.stop();
        auto* label = box->findChild<QLabel*>(u"qt_msgbox_label"_s);
        shown.caption = box->windowTitle();
        shown.text = box->text();
        shown.format = label ? label->textFormat() : Qt::AutoText;
        box->reject();
    });
    poll.start();
    ask();
    return shown;
}

TEST(QtPromptsBoxes, ShowMarkupInTextsLiterally)
{
    const QString path = u"/tmp/<b>x</b>&amp;.txt"_s;
    platform::QtPrompts prompts;
    const Shown boxes[] = {
        ReadBox([&] { prompts.error(u"Cannot create file "_s + path); }),
        ReadBox([&] { prompts.message(path); }),
        ReadBox([&] { prompts.confirm(u"<i>caption</i>"_s, path); }),
        // Closed without an answer, the question is answered No.
        ReadBox([&] { EXPECT_FALSE(prompts.askYesNo(u"<i>caption</i>"_s, path)); }),
    };
    const QString texts[] = {u"Cannot create file "_s + path + u'.', path, path, path};
    const QString captions[] = {u"Quillpost 4.0"_s, u"Quillpost 4.0"_s, u"<i>caption</i>"_s,
                                u"<i>caption</i>"_s};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(boxes[i].caption, captions[i]);
        EXPECT_EQ(boxes[i].text, texts[i]);
        EXPECT_EQ(boxes[i].format, Qt::PlainText);
    }
}

}  // namespace
