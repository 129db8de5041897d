#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace convert {

// The preview page declares Traditional Chinese and Big5, leaves small
// margins and shows the post in one preformatted block, so that line breaks
// and runs of spaces appear as typed.
inline constexpr QStringView kPreviewPageHead =
    u"<HTML><head><meta http-equiv=\"Content-Language\" content=\"zh-tw\">"
    u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=big5\"></head>"
    u"<body leftmargin=\"2\" topmargin=\"5\"><Pre>";
inline constexpr QStringView kPreviewPageTail = u"</Pre></body></HTML>";

// The page for a document given as its line list: every line followed by a
// line break, converted, between the fixed head and tail, and split into
// lines again. With `anchorStep` n > 0 the start of every n-th line of the
// post is marked (see WithLineAnchors), for the pane beside the editing area
// to scroll by; the preview tab's page has no marks.
QStringList BuildPreviewPageLines(const QStringList& documentLines, int anchorStep = 0);

// The bytes handed to the browser: every line followed by CR LF, the last one
// too, in Big5. Characters Big5 cannot hold are written as "&#N;" so the page
// still shows them as typed.
QByteArray PreviewPageBytes(const QStringList& pageLines);

}  // namespace convert
