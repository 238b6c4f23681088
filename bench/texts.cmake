kalmor_bench(bench_texts SOURCES bench_texts.cpp LIBS kalmor_editing)
