#pragma once

#include <QStringView>
#include <array>

class QPlainTextEdit;

namespace markup {

// One button of the symbol bar: a bracket pair wraps the selection, a single
// symbol replaces it.
struct SymbolButton {
    QStringView name;  // layout name
    QStringView caption;
    QStringView text;     // the symbol, or the opening bracket
    QStringView closing;  // the closing bracket; empty for a single symbol
};

// The symbol bar, left to right.
extern const std::array<SymbolButton, 22> kSymbolButtons;

// The button of that layout name; the program's own names only.
const SymbolButton& SymbolButtonNamed(QStringView name);

// Writes the button's symbol or bracket pair at the selection.
void WriteSymbolButton(QPlainTextEdit& memo, const SymbolButton& button);

}  // namespace markup
