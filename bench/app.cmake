# The main window against a bare QPlainTextEdit on a large document.
add_executable(bench_editor bench_editor.cpp)
# It links the preview module for the live preview beside the text.
target_link_libraries(bench_editor PRIVATE quillpost_app quillpost_preview Qt6::Test)
target_include_directories(bench_editor PRIVATE ${PROJECT_SOURCE_DIR}/tests)

# A long session with the live preview on: memory, renderer processes and
# processor time per update.
add_executable(soak_preview soak_preview.cpp)
target_link_libraries(soak_preview PRIVATE quillpost_app quillpost_preview)
target_include_directories(soak_preview PRIVATE ${PROJECT_SOURCE_DIR}/tests)

# The spell check: every word beside the hunspell command, keystrokes and
# paging with it on beside off.
add_executable(bench_spell bench_spell.cpp)
target_link_libraries(bench_spell PRIVATE quillpost_app quillpost_preview Qt6::Test)
target_include_directories(bench_spell PRIVATE ${PROJECT_SOURCE_DIR}/tests)
