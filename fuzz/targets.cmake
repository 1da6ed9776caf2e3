# The fuzz targets, added to the project by fuzz/run (CMAKE_PROJECT_INCLUDE) in a build folder of their own,
# compiled with clang and the sanitizers; the normal build and ./test never see them. The libraries they link are
# defined later by the project itself.
set(TRV_FUZZ_TARGETS profile definitions value_table dbf day_file statement_scan)
foreach(name IN LISTS TRV_FUZZ_TARGETS)
    add_executable(fuzz_${name} ${CMAKE_CURRENT_LIST_DIR}/fuzz_${name}.cpp)
    target_link_libraries(fuzz_${name} PRIVATE trv_common trv_core)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
    target_compile_definitions(fuzz_${name} PRIVATE TRV_SAMPLE_DIR="${CMAKE_CURRENT_LIST_DIR}/../sample")
endforeach()
# The per-SM scan lives above core.
target_link_libraries(fuzz_statement_scan PRIVATE trv_exports)
