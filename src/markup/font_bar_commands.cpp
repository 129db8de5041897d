// The font, size and colour boxes wrap the selection in a tag pair carrying
// the box's text as it stands. The converter to HTML recognises these tags by
// their spaces: every tag ends with "] " and the colour opener starts with " [".
#include <QComboBox>

#include "app/form1.h"
#include "app/memo_edit.h"
#include "markup/insertion.h"

using namespace Qt::Literals::StringLiterals;
using markup::WrapSelection;

void TForm1::ComboBox1Change()
{
    const QString face = ComboBox1->currentText();
    WrapSelection(*Memo1, u"[font="_s + face + u"] "_s, u"[/font="_s + face + u"] "_s);
}

void TForm1::ComboBox2Change()
{
    const QString size = ComboBox2->currentText();
    WrapSelection(*Memo1, u"[size="_s + size + u"] "_s, u"[/size="_s + size + u"] "_s);
}

void TForm1::ComboBox3Change()
{
    const QString colour = ComboBox3->currentText();
    WrapSelection(*Memo1, u" ["_s + colour + u"] "_s, u"[/"_s + colour + u"] "_s);
}
