quillpost_bench(bench_text quillpost_text bench_text.cpp)
