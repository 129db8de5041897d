// The post written for another forum, from any post: no crash, no hang, and
// the result at most a few times as long as the post. Built once per form,
// QUILLPOST_DIALECT naming it.
#include <QGuiApplication>
#include <cstddef>
#include <cstdint>

#include "convert/post_export.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);  // the HTML import needs fonts
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString post = FuzzText(data, size);
    const convert::ExportedPost exported =
        convert::ExportPost(post, convert::Dialect::QUILLPOST_DIALECT);
    // The converter's HTML is at most some twenty times the post; what each
    // form writes for a piece of it, a few times that piece.
    Require(exported.text.size() <= 64 * post.size() + 1024, "the export bounded by the post");
    return 0;
}
