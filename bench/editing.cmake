kalmor_bench(bench_editing SOURCES bench_editing.cpp LIBS kalmor_editing)
