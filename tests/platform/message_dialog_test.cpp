// The information and error dialogs of the Qt prompts, shown for real and
// answered by pressing their button.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include "platform/prompts.h"

using namespace Qt::Literals::StringLiterals;

namespace {

struct Shown {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    Qt::TextFormat format = Qt::AutoText;
};

// Shows the dialog and reads it while it waits for the user.
Shown Show(platform::Prompts::MessageKind kind, const QString& text)
{
    Shown shown;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(window);
            if (!box || !box->isVisible()) continue;
            shown = {box->windowTitle(), box->text(), box->icon(), {}, box->textFormat()};
            for (QAbstractButton* button : box->buttons()) shown.buttons.append(button->text());
            box->buttons().value(0, nullptr) ? box->buttons().first()->click() : box->reject();
        }
    });
    poll.start(10);
    platform::QtPrompts prompts;
    prompts.messageDialog(kind, text);
    return shown;
}

TEST(MessageDialog, InformationOrErrorWithItsIconAndOneOkButton)
{
    const QString text = u"找不到「<b>x</b>」字串！"_s;  // shown as typed, not as markup
    const Shown information = Show(platform::Prompts::MessageKind::Information, text);
    EXPECT_EQ(information.title, u"Information"_s);
    EXPECT_EQ(information.icon, QMessageBox::Information);
    EXPECT_EQ(information.text, text);
    EXPECT_EQ(information.format, Qt::PlainText);
    EXPECT_EQ(information.buttons, QStringList{u"OK"_s});

    const Shown error = Show(platform::Prompts::MessageKind::Error, text);
    EXPECT_EQ(error.title, u"Error"_s);
    EXPECT_EQ(error.icon, QMessageBox::Critical);
    EXPECT_EQ(error.buttons, QStringList{u"OK"_s});
}

}  // namespace
