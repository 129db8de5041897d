#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include "convert/html_strip.h"
#include "text/document_file.h"

// The two conversion commands applied to a file from the command line, with
// no window: what the command would leave in the editing area after the file
// was opened, written as Save would write it.
namespace convert {

enum class FileConversion {
    YbbToHtml,   // "( YBB )->( HTML )"
    HtmlToText,  // "(HTML)->(純文字)"
    // The post as 編輯 > 複製為 copies it. Qt's HTML import reads it, which
    // needs a QGuiApplication.
    ToBBCode,
    ToDiscuz,
    ToMarkdown,
    // The text between the tags converted between the scripts, as the
    // menu's commands convert it (--convert=s2twp and the like).
    ScriptToTaiwan,
    ScriptToHongKong,
    ScriptToSimplified,
    ScriptToTaiwanStandard,
};

// Whether the conversion writes the post in another form of markup.
constexpr bool IsExport(FileConversion conversion)
{
    return conversion == FileConversion::ToBBCode || conversion == FileConversion::ToDiscuz ||
           conversion == FileConversion::ToMarkdown;
}

// One document's text converted and encoded. The text comes in pieces as
// text::DocumentPieces gives them (each but the last ending after a line
// break), and the bytes go out piece by piece, so that a long document is
// never held as text and converted text at once. The lines are the text's
// own: there is no word wrap here.
class DocumentConversion {
public:
    DocumentConversion(FileConversion conversion, text::FileEncoding encoding);

    // Appends the bytes of the converted piece to `bytes`. False when the
    // result holds a character the encoding cannot; `error` then names it,
    // with its line and column in the result, as a refused save does.
    bool add(const QString& piece, QByteArray& bytes, QString* error);
    // The end of the document.
    bool finish(QByteArray& bytes, QString* error);

private:
    bool encode(QStringView converted, QByteArray& bytes, QString* error);

    FileConversion m_conversion;
    text::FileEncoding m_encoding;
    HtmlTagStripper m_stripper;
    QString m_post;  // an export reads the whole post at once
    bool m_started = false;
    bool m_endsInLine = false;   // the text so far ends without a line break
    qsizetype m_line = 1;        // in the result, where the next piece goes
    qsizetype m_lineLength = 0;  // of that line so far
};

// Reads `input` ("-": standard input, its encoding found as Open finds a
// file's), converts it, and writes it to `output` ("-": standard output,
// written as it is made). A file is written as Save writes one:
// replaced whole once complete, keeping its owner and mode, and not at all
// when the result cannot be encoded. On failure, `error` and `reason` are the
// error box's text and detail ("Cannot open file …", "Cannot create file …",
// or the refused character with an empty reason).
bool ConvertFile(FileConversion conversion, const QString& input, const QString& output,
                 QString* error, QString* reason);

}  // namespace convert
