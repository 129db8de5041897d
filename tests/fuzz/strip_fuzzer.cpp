// The stripper against the rule it follows, written out plainly: copy the
// text up to each "<" and drop it through the first ">" after it; a "<" that
// no ">" follows keeps the rest. What comes out holds no tag.
#include <cstddef>
#include <cstdint>

#include "convert/html_strip.h"
#include "fuzz_check.h"

namespace {

QString StripByTheRule(const QString& text)
{
    QString kept;
    qsizetype from = 0;
    for (;;) {
        const qsizetype open = text.indexOf(u'<', from);
        const qsizetype close = open < 0 ? -1 : text.indexOf(u'>', open + 1);
        if (close < 0) return kept + text.mid(from);
        kept += text.mid(from, open - from);
        from = close + 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = FuzzText(data, size);
    const QString stripped = convert::StripHtmlTags(text);
    Require(stripped == StripByTheRule(text), "stripped text follows the rule");
    const qsizetype open = stripped.indexOf(u'<');
    Require(open < 0 || stripped.indexOf(u'>', open) < 0, "no tag left");
    Require(convert::StripHtmlTags(stripped) == stripped, "stripping twice changes nothing");
    return 0;
}
