quillpost_bench(bench_text quillpost_text bench_text.cpp)
quillpost_bench(bench_codec quillpost_text bench_codec.cpp)
