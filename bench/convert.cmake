quillpost_bench(bench_convert quillpost_convert bench_convert.cpp)

# The preview against a bare browser view; links the preview module.
add_executable(bench_preview bench_preview.cpp)
target_link_libraries(bench_preview PRIVATE quillpost_core quillpost_preview benchmark::benchmark)
