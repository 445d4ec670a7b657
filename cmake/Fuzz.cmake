# libFuzzer targets (clang only): the core is built with the fuzzer's coverage
# hooks and both sanitizers; each target links libFuzzer's own main. The
# checks inside the targets abort on their own, whatever NDEBUG says.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "QUILLET_FUZZ needs clang (use the fuzz preset)")
endif()

set(QUILLET_SANITIZERS address,undefined)
target_compile_options(quillet_core PRIVATE -fsanitize=fuzzer-no-link,${QUILLET_SANITIZERS}
    -fno-omit-frame-pointer -fno-sanitize-recover=all)
# Nothing fuzzes the About picture's decoder; it needs libjpeg besides.
set_target_properties(quillet_jpeg PROPERTIES EXCLUDE_FROM_ALL ON)

set(QUILLET_FUZZ_TARGETS
    log_section
    stored_integers
    command_file_name
    browse_start
    replace_all
    escape_reg_string
    reg_backup
    changes_file
)
foreach(name IN LISTS QUILLET_FUZZ_TARGETS)
    add_executable(fuzz_${name} fuzz/${name}.cpp)
    target_include_directories(fuzz_${name} PRIVATE fuzz tests)
    target_link_libraries(fuzz_${name} PRIVATE quillet_core)
    target_compile_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,${QUILLET_SANITIZERS}
        -fno-omit-frame-pointer -fno-sanitize-recover=all)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,${QUILLET_SANITIZERS})
    quillet_warnings(fuzz_${name})
endforeach()
