kalmor_bench(bench_analysis SOURCES bench_analysis.cpp LIBS kalmor_editing)
