quillpost_bench(bench_convert quillpost_convert bench_convert.cpp)

# The preview against a bare browser view; links the preview module.
add_executable(bench_preview bench_preview.cpp)
target_link_libraries(bench_preview PRIVATE quillpost_core quillpost_preview benchmark::benchmark)

# Tag colouring in an editing area against a bare one on a large document.
add_executable(bench_colouring bench_colouring.cpp)
target_link_libraries(bench_colouring PRIVATE quillpost_convert quillpost_markup Qt6::Test)

# The post written for other forums, beside Qt's HTML import alone.
add_executable(bench_export bench_export.cpp)
target_link_libraries(bench_export PRIVATE quillpost_convert Qt6::Gui benchmark::benchmark)
