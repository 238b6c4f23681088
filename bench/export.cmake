kalmor_bench(bench_cli_render SOURCES bench_cli_render.cpp LIBS kalmor_document)
target_include_directories(bench_cli_render PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_definitions(bench_cli_render PRIVATE KALMOR_CLI="$<TARGET_FILE:kalmor-cli>")
add_dependencies(bench_cli_render kalmor-cli)
