# Windows: the program, the platform tests and the end-to-end tests.
# One file to ship: the C and C++ runtimes linked in.
if(MINGW)
    set(QUILLET_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
elseif(MSVC)
    set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
endif()

include(cmake/Libjpeg.cmake)
target_link_libraries(quillet_jpeg PUBLIC quillet_libjpeg)

add_library(quillet_win32 STATIC
    src/common/win32/Win32Locale.cpp
    src/common/win32/CentredBox.cpp
    src/common/win32/SafeProcess.cpp
    src/common/win32/Wow64.cpp
    src/common/win32/Wide.cpp
    src/catalogue/win32/Win32Registry.cpp
    src/catalogue/win32/Win32UserAccounts.cpp
    src/catalogue/win32/Win32FileSystem.cpp
    src/catalogue/win32/SortHeader.cpp
    src/catalogue/win32/RegistryWatcher.cpp
    src/app/win32/Win32Dialogs.cpp
    src/app/win32/QueueCommands.cpp
    src/runner/win32/AppRunner.cpp
    src/runner/win32/AHMLed.cpp
    src/editing/win32/Win32OpenDialog.cpp
    src/editing/win32/PropertiesDialog.cpp
    src/editing/win32/Win32FileWriter.cpp
    src/app/win32/Win32Profile.cpp
    src/app/win32/TrayIcon.cpp
    src/app/win32/ApplicationWindow.cpp
    src/app/win32/MainWindow.cpp
    src/app/win32/MainWindowView.cpp
    src/app/win32/MainWindowTray.cpp
    src/app/win32/MainWindowHints.cpp
    src/app/win32/MainWindowRecords.cpp
    src/cli/win32/ConsoleMain.cpp
    src/app/win32/MainMenus.cpp
    src/app/win32/ToolBar.cpp
    src/app/win32/OwnerDataList.cpp
    src/app/win32/ProgramList.cpp
    src/app/win32/ProgramIcons.cpp
    src/app/win32/ProgramColumns.cpp
    src/app/win32/LogList.cpp
    src/app/win32/MainLayout.cpp
    src/app/win32/TrayMenu.cpp
    src/app/win32/AboutForm.cpp
)
target_link_libraries(quillet_win32 PUBLIC quillet_core quillet_jpeg comctl32 advapi32 user32 gdi32 shell32 comdlg32)
target_compile_definitions(quillet_win32 PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
quillet_warnings(quillet_win32)

add_executable(Quillet WIN32 src/app/win32/WinMain.cpp resources/Quillet.rc)
target_include_directories(Quillet PRIVATE src)
file(GLOB QUILLET_RESOURCE_FILES ${CMAKE_SOURCE_DIR}/resources/*.ico ${CMAKE_SOURCE_DIR}/resources/*.bmp
    ${CMAKE_SOURCE_DIR}/resources/*.jpg)
set_source_files_properties(resources/Quillet.rc PROPERTIES
    OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/resources/Quillet.manifest;${QUILLET_RESOURCE_FILES}")
target_link_libraries(Quillet PRIVATE quillet_win32 ${QUILLET_STATIC_RUNTIME})
quillet_warnings(Quillet)
include(cmake/Package.cmake)
if(MSVC)
    target_link_options(Quillet PRIVATE /MANIFEST:NO)  # ours comes from the resource script
endif()

# GoogleTest from source for the cross build (Debian's googletest package).
if(NOT TARGET gtest)
    set(GTEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest sources")
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
include(GoogleTest)

# Small programs the tests start or drive: stand-ins for uninstallers.
add_executable(qtest_console tests/programs/TestProgram.cpp)
target_link_libraries(qtest_console PRIVATE advapi32 ${QUILLET_STATIC_RUNTIME})
add_executable(qtest_window WIN32 tests/programs/TestProgram.cpp)
target_link_libraries(qtest_window PRIVATE advapi32 ${QUILLET_STATIC_RUNTIME})
if(MINGW)
    target_link_options(qtest_window PRIVATE -mwindows)
endif()
# scripts/run waits with it for the filled list before its screenshot.
add_executable(qwait_list tests/programs/WaitForList.cpp)
target_link_libraries(qwait_list PRIVATE user32 ${QUILLET_STATIC_RUNTIME})
quillet_warnings(qwait_list)

add_executable(platform_tests
    tests/platform/RegistryTest.cpp
    tests/platform/FileSystemTest.cpp
    tests/platform/LocaleTest.cpp
    tests/platform/DialogsTest.cpp
    tests/platform/SortHeaderTest.cpp
    tests/platform/AppRunnerTest.cpp
    tests/platform/EditingTest.cpp
    tests/platform/BackupTest.cpp
    tests/platform/FindDialogsTest.cpp
    tests/platform/ProfileTest.cpp
    tests/platform/TrayIconTest.cpp
    tests/platform/AboutTest.cpp
    tests/platform/ExactProgramTest.cpp
    tests/platform/ReadsWriteNothingTest.cpp
    tests/platform/SafeProcessTest.cpp
    tests/platform/DrawingTest.cpp
    tests/platform/RegistryViewsTest.cpp
    tests/platform/UserSourcesTest.cpp
    tests/platform/UndoTest.cpp
    tests/platform/QueueTest.cpp
    tests/platform/ProgramIconsTest.cpp
    tests/platform/RegistryWatcherTest.cpp
    resources/Quillet.rc
)
target_include_directories(platform_tests PRIVATE tests)
target_link_libraries(platform_tests PRIVATE quillet_win32 gtest_main ${QUILLET_STATIC_RUNTIME})
add_dependencies(platform_tests qtest_console qtest_window)
quillet_warnings(platform_tests)
gtest_discover_tests(platform_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES RESOURCE_LOCK wineprefix)

add_executable(e2e_tests
    tests/e2e/Driver.cpp
    tests/e2e/StartupTest.cpp
    tests/e2e/BadInputTest.cpp
    tests/e2e/SortTest.cpp
    tests/e2e/UninstallTest.cpp
    tests/e2e/EditTest.cpp
    tests/e2e/BackupFindTest.cpp
    tests/e2e/SettingsTest.cpp
    tests/e2e/TrayTest.cpp
    tests/e2e/ViewsTest.cpp
    tests/e2e/PlacesTest.cpp
    tests/e2e/WholeDayTest.cpp
    tests/e2e/PlatformTest.cpp
    tests/e2e/SourcesTest.cpp
    tests/e2e/LiveListTest.cpp
    tests/e2e/XInput.cpp
    tests/e2e/XInputTest.cpp
    tests/e2e/WindowManagerTest.cpp
    tests/e2e/QueueTest.cpp
    tests/e2e/CommandLineTest.cpp
)
target_include_directories(e2e_tests PRIVATE tests src)
target_link_libraries(e2e_tests PRIVATE gtest_main comctl32 advapi32 user32 gdi32 shell32 psapi ${QUILLET_STATIC_RUNTIME})
target_compile_definitions(e2e_tests PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
add_dependencies(e2e_tests Quillet qtest_console qtest_window)
quillet_warnings(e2e_tests)
gtest_discover_tests(e2e_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    TEST_FILTER "-WindowManagerTest.*"
    PROPERTIES RESOURCE_LOCK wineprefix LABELS e2e
    ENVIRONMENT "QUILLET_EXE=$<TARGET_FILE:Quillet>")
# The window manager's tests run with openbox on the display, the others without.
if(CMAKE_CROSSCOMPILING_EMULATOR)
    add_test(NAME e2e.WindowManagerTest
        COMMAND ${CMAKE_SOURCE_DIR}/scripts/with-openbox ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:e2e_tests>
                --gtest_filter=WindowManagerTest.*)
    set_tests_properties(e2e.WindowManagerTest PROPERTIES RESOURCE_LOCK wineprefix LABELS e2e TIMEOUT 300
        ENVIRONMENT "QUILLET_EXE=$<TARGET_FILE:Quillet>")
endif()

# The 32-bit build meets 64-bit Windows too: the registry view tests run once
# more in a 64-bit prefix of their own, where Wine runs them under WoW64.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    gtest_discover_tests(platform_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
        TEST_FILTER "RegistryViewsTest.*" TEST_PREFIX "wow64."
        PROPERTIES RESOURCE_LOCK wineprefix-win64 LABELS wow64 ENVIRONMENT "QUILLET_WINEARCH=win64")
    gtest_discover_tests(e2e_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
        TEST_FILTER "PlatformTest.*:BackupFindTest.*" TEST_PREFIX "wow64."
        PROPERTIES RESOURCE_LOCK wineprefix-win64 LABELS wow64
        ENVIRONMENT "QUILLET_EXE=$<TARGET_FILE:Quillet>;QUILLET_WINEARCH=win64")
endif()

# The command line started from a shell, as a remote job would run it; its
# output read back by Python's own CSV and JSON readers.
find_program(QUILLET_PYTHON python3)
if(QUILLET_PYTHON)
    add_test(NAME e2e.CommandLineFromAShell
        COMMAND ${QUILLET_PYTHON} ${CMAKE_SOURCE_DIR}/tests/e2e/command_line.py $<TARGET_FILE:Quillet>)
    set_tests_properties(e2e.CommandLineFromAShell PROPERTIES RESOURCE_LOCK wineprefix LABELS e2e TIMEOUT 300)
endif()

# Long end-to-end runs (hundreds of jobs, 10,000 rows): a program of their
# own, so that they get a longer time limit than the other tests.
add_executable(endurance_tests tests/e2e/Driver.cpp tests/e2e/EnduranceTest.cpp)
target_include_directories(endurance_tests PRIVATE tests src)
target_link_libraries(endurance_tests PRIVATE gtest_main comctl32 advapi32 user32 gdi32 ${QUILLET_STATIC_RUNTIME})
target_compile_definitions(endurance_tests PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
add_dependencies(endurance_tests Quillet qtest_console qtest_window)
quillet_warnings(endurance_tests)
gtest_discover_tests(endurance_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES RESOURCE_LOCK wineprefix LABELS e2e TIMEOUT 480
    ENVIRONMENT "QUILLET_EXE=$<TARGET_FILE:Quillet>")

# Benchmarks (run by bench/run, not by ctest).
add_executable(list_bench bench/ListBench.cpp)
target_include_directories(list_bench PRIVATE tests)
target_link_libraries(list_bench PRIVATE quillet_win32 ${QUILLET_STATIC_RUNTIME})
quillet_warnings(list_bench)
add_executable(startup_bench bench/StartupBench.cpp tests/e2e/Driver.cpp)
target_include_directories(startup_bench PRIVATE tests)
target_link_libraries(startup_bench PRIVATE comctl32 user32 gdi32 advapi32 ${QUILLET_STATIC_RUNTIME})
quillet_warnings(startup_bench)
add_executable(backup_find_bench bench/BackupFindBench.cpp)
target_include_directories(backup_find_bench PRIVATE tests)
target_link_libraries(backup_find_bench PRIVATE quillet_win32 ${QUILLET_STATIC_RUNTIME})
quillet_warnings(backup_find_bench)
add_executable(delete_bench bench/DeleteBadBench.cpp tests/e2e/Driver.cpp)
target_include_directories(delete_bench PRIVATE tests)
target_link_libraries(delete_bench PRIVATE quillet_win32 ${QUILLET_STATIC_RUNTIME})
quillet_warnings(delete_bench)
add_executable(settings_bench bench/SettingsBench.cpp)
target_link_libraries(settings_bench PRIVATE quillet_win32 ${QUILLET_STATIC_RUNTIME})
quillet_warnings(settings_bench)
