#pragma once

namespace convert {

// Readies the browser engine for the preview: registers the page scheme and
// picks the renderer. Must run before the engine's first view or page is
// made (the preview view's constructor calls it; a program that makes other
// views too calls it first). Calling it again does nothing.
void PrepareBrowserEngine();

}  // namespace convert
