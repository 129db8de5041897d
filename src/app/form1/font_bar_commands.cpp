// The font, size and colour boxes wrap the selection in a tag pair carrying
// the box's text as it stands.
#include <QComboBox>

#include "app/form1/form1.h"
#include "app/memo_edit.h"
#include "markup/insertion.h"
#include "markup/tag_table.h"

void TForm1::wrapInTags(const markup::TagPair& tags)
{
    markup::WrapSelection(*Memo1, tags.opening, tags.closing);
}

void TForm1::ComboBox1Change()
{
    wrapInTags(markup::FaceTags(ComboBox1->currentText()));
}

void TForm1::ComboBox2Change()
{
    wrapInTags(markup::SizeTags(ComboBox2->currentText()));
}

void TForm1::ComboBox3Change()
{
    wrapInTags(markup::ColourTags(ComboBox3->currentText()));
}
