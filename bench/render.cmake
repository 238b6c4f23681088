kalmor_bench(bench_render SOURCES bench_render.cpp LIBS kalmor_render kalmor_editing)
kalmor_bench(bench_rest SOURCES bench_rest.cpp LIBS kalmor_view)
