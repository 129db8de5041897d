#pragma once

#include <memory>

#include "convert/markup_writer.h"

namespace convert {

// The forms the toolbars and the font bar write, as "貼上為標籤" pastes them.
std::unique_ptr<MarkupWriter> MakeToolbarWriter();
// BBCode as phpBB and most boards read it.
std::unique_ptr<MarkupWriter> MakeBBCodeWriter();
// Discuz!'s BBCode.
std::unique_ptr<MarkupWriter> MakeDiscuzWriter();
// CommonMark with GitHub's strike-through.
std::unique_ptr<MarkupWriter> MakeMarkdownWriter();

}  // namespace convert
