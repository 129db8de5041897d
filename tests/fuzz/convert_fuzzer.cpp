// The one-pass conversion against the step-by-step one it replaces: the same
// HTML for every text, whatever tags, brackets, quotes and spaces it mixes.
#include <cstddef>
#include <cstdint>

#include "convert/ybb_to_html.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = FuzzText(data, size);
    Require(convert::ConvertYbbToHtml(text) == convert::ConvertYbbToHtmlReference(text),
            "one pass converts as the steps do");
    return 0;
}
