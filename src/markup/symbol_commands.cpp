// The symbol bar: bracket pairs wrap the selection, single symbols and the
// custom symbol replace it.
#include <QKeyEvent>
#include <QLineEdit>

#include "app/form1.h"
#include "app/memo_edit.h"
#include "markup/insertion.h"

using namespace Qt::Literals::StringLiterals;
using markup::InsertAtCaret;
using markup::WrapSelection;

void TForm1::SpeedButton25Click()
{
    WrapSelection(*Memo1, u"【"_s, u"】"_s);
}
void TForm1::SpeedButton26Click()
{
    WrapSelection(*Memo1, u"「"_s, u"」"_s);
}
void TForm1::SpeedButton27Click()
{
    WrapSelection(*Memo1, u"『"_s, u"』"_s);
}
void TForm1::SpeedButton28Click()
{
    WrapSelection(*Memo1, u"〈"_s, u"〉"_s);
}
void TForm1::SpeedButton29Click()
{
    WrapSelection(*Memo1, u"《"_s, u"》"_s);
}
void TForm1::SpeedButton30Click()
{
    WrapSelection(*Memo1, u"〔"_s, u"〕"_s);
}
void TForm1::SpeedButton31Click()
{
    WrapSelection(*Memo1, u"｛"_s, u"｝"_s);
}
void TForm1::SpeedButton32Click()
{
    WrapSelection(*Memo1, u"( "_s, u" )"_s);
}
void TForm1::SpeedButton33Click()
{
    WrapSelection(*Memo1, u"["_s, u"]"_s);
}
void TForm1::SpeedButton34Click()
{
    InsertAtCaret(*Memo1, u"←"_s);
}
void TForm1::SpeedButton35Click()
{
    InsertAtCaret(*Memo1, u"→"_s);
}
void TForm1::SpeedButton36Click()
{
    InsertAtCaret(*Memo1, u"●"_s);
}
void TForm1::SpeedButton41Click()
{
    InsertAtCaret(*Memo1, u"○"_s);
}
void TForm1::SpeedButton37Click()
{
    InsertAtCaret(*Memo1, u"★"_s);
}
void TForm1::SpeedButton38Click()
{
    InsertAtCaret(*Memo1, u"☆"_s);
}
void TForm1::SpeedButton39Click()
{
    InsertAtCaret(*Memo1, u"■"_s);
}
void TForm1::SpeedButton40Click()
{
    InsertAtCaret(*Memo1, u"□"_s);
}
void TForm1::SpeedButton42Click()
{
    InsertAtCaret(*Memo1, u"，"_s);
}
void TForm1::SpeedButton43Click()
{
    InsertAtCaret(*Memo1, u"。"_s);
}
void TForm1::SpeedButton44Click()
{
    InsertAtCaret(*Memo1, u"\uFE56"_s);
}  // small question mark
void TForm1::SpeedButton45Click()
{
    InsertAtCaret(*Memo1, u"※"_s);
}
void TForm1::SpeedButton46Click()
{
    InsertAtCaret(*Memo1, u"＠"_s);
}

void TForm1::SpeedButton47Click()
{
    const QString symbol = Edit1->text();
    if (!symbol.isEmpty()) InsertAtCaret(*Memo1, symbol);
}

void TForm1::Edit1DblClick()
{
    Edit1->clear();
}

bool TForm1::noteEdit1Key(QObject* receiver, QEvent* event)
{
    if (receiver != Edit1) return false;
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) return false;
    // The edit menu's keys edit the custom symbol while the box has the
    // focus: a paste goes into the box, not into the post.
    static const QList<QKeySequence> editingKeys = {
        Qt::CTRL | Qt::Key_Z, Qt::CTRL | Qt::Key_Y,      Qt::CTRL | Qt::Key_X, Qt::CTRL | Qt::Key_C,
        Qt::CTRL | Qt::Key_V, Qt::CTRL | Qt::Key_Delete, Qt::CTRL | Qt::Key_A,
    };
    auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    if (!editingKeys.contains(pressed)) return false;
    if (type == QEvent::ShortcutOverride) {
        key->accept();
        return true;
    }
    // The line edit knows Redo only under the desktop's own key.
    if (pressed == QKeySequence(Qt::CTRL | Qt::Key_Y)) {
        Edit1->redo();
        return true;
    }
    return false;
}
