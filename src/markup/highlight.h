#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QTextLayout>
#include <functional>

class QPlainTextEdit;
class QTextBlock;
class QTextDocument;

// Colouring texts of the document for display only: the colours live in the
// editing area's layout, not in the text, so they never reach a saved file
// or the clipboard, never enter the undo history and never mark the document
// modified. A coloured text stays coloured while the user edits, and the
// same text typed later is coloured as well; while an input method composes,
// the colours stay on their characters, beside the text being composed.
//
// Two layers share the editing area's one highlighter: the occurrences of
// given texts (HighlightOccurrences), and a colouring of each paragraph that
// can be switched on and off (SetParagraphColouring). Where both colour a
// character, the occurrence's colour shows.
namespace markup {

// Colours every occurrence of `text` (case-sensitive, overlapping ones too)
// in `colour`; a text given later wins where occurrences overlap. The
// selection and the scroll position stay as they are.
void HighlightOccurrences(QPlainTextEdit& memo, const QString& text, const QColor& colour);

// The formats of one paragraph; ranges in order, not overlapping.
using ParagraphColouring =
    std::function<QList<QTextLayout::FormatRange>(const QTextBlock& paragraph)>;

// Colours each paragraph with `colouring` from now on, or no longer with an
// empty function. Only the paragraphs on screen are coloured, at once and
// then whenever the editing area paints, and an edited paragraph as it is
// edited, so that switching it on, scrolling and typing cost what the screen
// shows, not what the document holds. The colours go into the paragraphs'
// layouts, beside the occurrences'.
void SetParagraphColouring(QPlainTextEdit& memo, ParagraphColouring colouring);

// Colours for the tags the converter knows, readable on the editing area's
// white and apart from the red of the highlighting command: tag names and
// brackets, attribute values (addresses, faces, sizes, colours), and tags the
// converter will not convert as they are written.
inline constexpr QRgb kTagNameColour = 0x1a52c4;
inline constexpr QRgb kTagValueColour = 0x17803a;
inline constexpr QRgb kUnpairedTagColour = 0xb5179e;

// A new document for an editing area, laid out so that an edit or a change
// of colours within one paragraph repaints that paragraph, not the screen.
QTextDocument* NewEditorDocument(QObject* parent);

// Whether the highlighting may have given the block formats of its own (and
// so a layout); false means it surely has not.
bool MayBeHighlighted(const QTextBlock& block);

}  // namespace markup
