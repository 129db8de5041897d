#include "convert/preview_window.h"

#include <vector>

#include "convert/tag_scan.h"

namespace convert {

namespace {

// Whether each paragraph start is outside every pair of tags: the pairs the
// converter would turn into an element, an opener with its closer later in
// the text, as the tag check pairs them.
std::vector<bool> OutsidePairs(QStringView text, const std::vector<qsizetype>& starts)
{
    std::vector<bool> outside(starts.size(), true);
    std::vector<int> open(size_t(scan::KindCount()), 0);
    int total = 0;
    size_t paragraph = 0;
    const auto passTo = [&](qsizetype position) {
        while (paragraph < starts.size() && starts[paragraph] <= position)
            outside[paragraph++] = total == 0;
    };
    scan::Scanner scanner(text);
    for (scan::Tag tag; scanner.next(tag);) {
        passTo(tag.start);
        if (tag.flaw != scan::Flaw::None && tag.flaw != scan::Flaw::Stray) continue;
        int& count = open[size_t(tag.kind)];
        if (tag.role == scan::Role::Opener) {
            ++count;
            ++total;
        } else if (tag.role == scan::Role::Closer && count > 0) {
            --count;
            --total;
        }
    }
    passTo(text.size());
    return outside;
}

}  // namespace

PreviewWindow ChoosePreviewWindow(QStringView text, int caret, qsizetype reach)
{
    std::vector<qsizetype> starts{0};
    for (qsizetype at = text.indexOf(u'\n'); at >= 0; at = text.indexOf(u'\n', at + 1))
        starts.push_back(at + 1);
    const int paragraphs = int(starts.size());
    caret = qBound(0, caret, paragraphs - 1);
    const auto startOf = [&](int paragraph) {
        return paragraph < paragraphs ? starts[size_t(paragraph)] : text.size() + 1;
    };
    PreviewWindow window{caret, caret + 1};
    while (window.first > 0 && startOf(caret) - startOf(window.first) < reach) --window.first;
    while (window.end < paragraphs && startOf(window.end) - startOf(caret + 1) < reach)
        ++window.end;

    const std::vector<bool> outside = OutsidePairs(text, starts);
    for (int first = window.first; first >= 0; --first) {
        if (startOf(window.first) - startOf(first) > reach) break;
        if (outside[size_t(first)]) {
            window.first = first;
            break;
        }
    }
    for (int end = window.end; end <= paragraphs; ++end) {
        if (startOf(end) - startOf(window.end) > reach) break;
        if (end == paragraphs || outside[size_t(end)]) {
            window.end = end;
            break;
        }
    }
    return window;
}

}  // namespace convert
