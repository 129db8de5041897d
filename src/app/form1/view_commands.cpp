// The view menu: the four toolbar switches and the hidden tag-highlighting
// command.
#include <QAction>
#include <QColor>

#include "app/form1/form1.h"
#include "app/memo_edit.h"
#include "markup/highlight.h"
#include "markup/tag_table.h"

void TForm1::setPanelVisible(QWidget* panel, const char* actionName)
{
    panel->setVisible(action(actionName)->isChecked());
}

void TForm1::N24Click()
{
    setPanelVisible(Panel2, "N24");
}

void TForm1::N39Click()
{
    setPanelVisible(Panel4, "N39");
}

void TForm1::YBB1Click()
{
    setPanelVisible(Panel1, "YBB1");
}

void TForm1::YBB2Click()
{
    setPanelVisible(Panel3, "YBB2");
}

void TForm1::N55Click()
{
    const QColor red(255, 0, 0);
    for (const QString& tag : markup::HighlightedTags())
        markup::HighlightOccurrences(*Memo1, tag, red);
}
