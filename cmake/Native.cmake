# Linux: the core and its tests against in-memory fakes.
find_package(GTest REQUIRED)
find_package(JPEG REQUIRED)  # libjpeg62-turbo-dev
target_link_libraries(quillet_jpeg PUBLIC JPEG::JPEG)
include(GoogleTest)

add_executable(core_tests
    tests/core/ValidityTest.cpp
    tests/core/OneLoadFileSystemTest.cpp
    tests/core/LoadProgramsTest.cpp
    tests/core/TextTest.cpp
    tests/core/SortTest.cpp
    tests/core/LogTest.cpp
    tests/core/UninstallJobTest.cpp
    tests/core/UninstallQueueTest.cpp
    tests/core/EditTest.cpp
    tests/core/PropertiesFormTest.cpp
    tests/core/BackupTest.cpp
    tests/core/FindTest.cpp
    tests/core/SettingsTest.cpp
    tests/core/TrayTest.cpp
    tests/core/ViewsTest.cpp
    tests/core/AboutTest.cpp
    tests/core/PartsTest.cpp
    tests/core/ConfirmedTest.cpp
    tests/core/RegistryViewsTest.cpp
    tests/core/LiveListTest.cpp
    tests/core/UndoTest.cpp
    tests/core/ArgumentsTest.cpp
    tests/core/TableTextTest.cpp
    tests/core/ConsoleRunTest.cpp
    tests/core/RegistryScriptTest.cpp
    tests/core/UndoHoldsTest.cpp
    tests/core/SourcesTest.cpp
    tests/core/DetailsTest.cpp
)
target_include_directories(core_tests PRIVATE tests)
target_compile_definitions(core_tests PRIVATE QUILLET_GOLDEN_DIR="${CMAKE_SOURCE_DIR}/tests/core/golden"
    QUILLET_RESOURCE_DIR="${CMAKE_SOURCE_DIR}/resources")
target_link_libraries(core_tests PRIVATE quillet_core quillet_jpeg GTest::gtest_main)
quillet_warnings(core_tests)
gtest_discover_tests(core_tests DISCOVERY_MODE PRE_TEST)

# The list's own work on the fakes, for callgrind (not run by ctest).
add_executable(core_bench bench/CoreBench.cpp)
target_include_directories(core_bench PRIVATE tests)
target_link_libraries(core_bench PRIVATE quillet_core quillet_jpeg)
quillet_warnings(core_bench)
