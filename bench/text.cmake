quillpost_bench(bench_text quillpost_text bench_text.cpp)
quillpost_bench(bench_codec quillpost_text bench_codec.cpp)

# A generated post written as a Big5 file, for the whole-program runs.
add_executable(write_post write_post.cpp)
target_link_libraries(write_post PRIVATE quillpost_text)
