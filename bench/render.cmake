kalmor_bench(bench_render SOURCES bench_render.cpp LIBS kalmor_render)
