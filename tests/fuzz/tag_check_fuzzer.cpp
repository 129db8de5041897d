// The tag check and the tag colouring on any text: problems in the order of
// the text, each on a tag (which starts with a bracket), and for every line
// coloured spans in order, apart and inside the line.
#include <cstddef>
#include <cstdint>

#include "convert/tag_check.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = FuzzText(data, size);
    qsizetype last = 0;
    for (const convert::TagProblem& problem : convert::CheckTags(text)) {
        Require(problem.start >= last, "problems in the order of the text");
        Require(problem.length > 0 && problem.start + problem.length <= text.size(),
                "a problem lies inside the text");
        Require(text[problem.start] == u'[', "a problem is on a tag");
        Require(!problem.description.isEmpty(), "a problem says what is wrong");
        last = problem.start;
    }
    for (const QStringView line : QStringView(text).split(u'\n')) {
        int end = 0;
        for (const convert::ColouredSpan& span : convert::TagColours(line)) {
            Require(span.start >= end && span.length > 0 && span.start + span.length <= line.size(),
                    "spans in order, apart, inside the line");
            end = span.start + span.length;
        }
    }
    return 0;
}
