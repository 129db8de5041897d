add_executable(bench_markup bench_markup.cpp)
target_link_libraries(bench_markup PRIVATE quillpost_markup benchmark::benchmark)
