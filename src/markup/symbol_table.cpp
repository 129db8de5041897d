#include "markup/symbol_table.h"

#include "markup/insertion.h"

namespace markup {

const std::array<SymbolButton, 22> kSymbolButtons = {{
    {u"SpeedButton25", u"【】", u"【", u"】"},
    {u"SpeedButton26", u"「」", u"「", u"」"},
    {u"SpeedButton27", u"『』", u"『", u"』"},
    {u"SpeedButton28", u"〈〉", u"〈", u"〉"},
    {u"SpeedButton29", u"《》", u"《", u"》"},
    {u"SpeedButton30", u"〔〕", u"〔", u"〕"},
    {u"SpeedButton31", u"｛｝", u"｛", u"｝"},
    // The only pair with spaces, inside the parentheses.
    {u"SpeedButton32", u"( )", u"( ", u" )"},
    {u"SpeedButton33", u"[ ]", u"[", u"]"},
    {u"SpeedButton34", u"←", u"←", {}},
    {u"SpeedButton35", u"→", u"→", {}},
    {u"SpeedButton36", u"●", u"●", {}},
    {u"SpeedButton41", u"○", u"○", {}},
    {u"SpeedButton37", u"★", u"★", {}},
    {u"SpeedButton38", u"☆", u"☆", {}},
    {u"SpeedButton39", u"■", u"■", {}},
    {u"SpeedButton40", u"□", u"□", {}},
    {u"SpeedButton42", u"，", u"，", {}},
    {u"SpeedButton43", u"。", u"。", {}},
    // The small question mark, not the full-width one.
    {u"SpeedButton44", u"\uFE56", u"\uFE56", {}},
    {u"SpeedButton45", u"※", u"※", {}},
    {u"SpeedButton46", u"＠", u"＠", {}},
}};

const SymbolButton& SymbolButtonNamed(QStringView name)
{
    for (const SymbolButton& button : kSymbolButtons)
        if (button.name == name) return button;
    Q_UNREACHABLE();
}

void WriteSymbolButton(QPlainTextEdit& memo, const SymbolButton& button)
{
    if (button.closing.isEmpty())
        InsertAtCaret(memo, button.text.toString());
    else
        WrapSelection(memo, button.text.toString(), button.closing.toString());
}

}  // namespace markup
