kalmor_bench(bench_editing SOURCES bench_editing.cpp LIBS kalmor_editing)
kalmor_bench(bench_history SOURCES bench_history.cpp LIBS kalmor_editing)
kalmor_bench(bench_wiring SOURCES bench_wiring.cpp LIBS kalmor_wiring kalmor_render Qt6::Widgets)
