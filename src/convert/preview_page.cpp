#include "convert/preview_page.h"

#include "convert/line_anchors.h"
#include "convert/ybb_to_html.h"
#include "text/big5_codec.h"
#include "text/line_split.h"

namespace convert {

QStringList BuildPreviewPageLines(const QStringList& documentLines, int anchorStep)
{
    QString converted = ConvertYbbToHtml(text::JoinLines(documentLines, u"\r\n"));
    // The converter keeps every line break, so its lines are the document's.
    if (anchorStep > 0) converted = WithLineAnchors(converted, anchorStep);
    QString page;
    page.reserve(kPreviewPageHead.size() + converted.size() + kPreviewPageTail.size());
    page.append(kPreviewPageHead).append(converted).append(kPreviewPageTail);
    return text::SplitLines(page);
}

QByteArray PreviewPageBytes(const QStringList& pageLines)
{
    return text::EncodeBig5(text::JoinLines(pageLines, u"\r\n"),
                            text::Unencodable::CharacterReference)
        .bytes;
}

}  // namespace convert
