# libjpeg for the Windows builds: Debian's libjpeg-turbo source (fetched into
# build/deps by scripts/setup), built static for this build's target once, at
# configure time, and installed into a prefix inside the build directory.
set(QUILLET_LIBJPEG_PREFIX "${CMAKE_BINARY_DIR}/libjpeg")
if(NOT EXISTS "${QUILLET_LIBJPEG_PREFIX}/lib/libjpeg.a")
    file(GLOB QUILLET_LIBJPEG_SOURCE LIST_DIRECTORIES true "${CMAKE_SOURCE_DIR}/build/deps/libjpeg-turbo-*")
    list(FILTER QUILLET_LIBJPEG_SOURCE EXCLUDE REGEX "\\.(dsc|tar\\..*)$")
    if(NOT QUILLET_LIBJPEG_SOURCE)
        message(FATAL_ERROR "libjpeg-turbo source missing under build/deps: run scripts/setup")
    endif()
    list(GET QUILLET_LIBJPEG_SOURCE 0 QUILLET_LIBJPEG_SOURCE)
    message(STATUS "Building libjpeg-turbo from ${QUILLET_LIBJPEG_SOURCE}")
    set(work "${CMAKE_BINARY_DIR}/libjpeg-build")
    execute_process(
        COMMAND ${CMAKE_COMMAND} -S "${QUILLET_LIBJPEG_SOURCE}" -B "${work}" -G "${CMAKE_GENERATOR}"
            "-DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}" -DCMAKE_BUILD_TYPE=Release
            "-DCMAKE_INSTALL_PREFIX=${QUILLET_LIBJPEG_PREFIX}"
            -DWITH_SIMD=0 -DENABLE_SHARED=0 -DWITH_TURBOJPEG=0 -DWITH_JAVA=0
        OUTPUT_FILE "${work}.log" ERROR_FILE "${work}.log" RESULT_VARIABLE failed)
    if(NOT failed)
        execute_process(COMMAND ${CMAKE_COMMAND} --build "${work}" --target install -j 2
            OUTPUT_FILE "${work}.log" ERROR_FILE "${work}.log" RESULT_VARIABLE failed)
    endif()
    if(failed)
        message(FATAL_ERROR "Building libjpeg-turbo failed; see ${work}.log")
    endif()
endif()
add_library(quillet_libjpeg STATIC IMPORTED)
set_target_properties(quillet_libjpeg PROPERTIES
    IMPORTED_LOCATION "${QUILLET_LIBJPEG_PREFIX}/lib/libjpeg.a"
    INTERFACE_INCLUDE_DIRECTORIES "${QUILLET_LIBJPEG_PREFIX}/include")
