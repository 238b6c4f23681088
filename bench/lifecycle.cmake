kalmor_bench(bench_lifecycle SOURCES bench_lifecycle.cpp LIBS kalmor_lifecycle kalmor_render)
kalmor_bench(bench_open SOURCES bench_open.cpp LIBS kalmor_lifecycle kalmor_view)
