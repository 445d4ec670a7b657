# `cmake --build <build> --target package`: Quillet-VERSION-win32.zip (win64 for
# the 64-bit build) holding Quillet.exe, README.txt and LICENSE.txt, the texts
# with Windows line ends. Only the Quillet component goes in: no test program.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(QUILLET_PACKAGE_ARCH win32)
else()
    set(QUILLET_PACKAGE_ARCH win64)
endif()

configure_file(docs/README-windows.txt "${CMAKE_BINARY_DIR}/package/README.txt" @ONLY NEWLINE_STYLE CRLF)
configure_file(LICENSE "${CMAKE_BINARY_DIR}/package/LICENSE.txt" @ONLY NEWLINE_STYLE CRLF)

install(TARGETS Quillet RUNTIME DESTINATION . COMPONENT Quillet)
install(FILES "${CMAKE_BINARY_DIR}/package/README.txt" "${CMAKE_BINARY_DIR}/package/LICENSE.txt"
    DESTINATION . COMPONENT Quillet)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Quillet)
set(CPACK_PACKAGE_VENDOR "The Quillet developers")
set(CPACK_PACKAGE_FILE_NAME "Quillet-${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}-${QUILLET_PACKAGE_ARCH}")
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};Quillet;Quillet;/")
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX "${CMAKE_BINARY_DIR}")
include(CPack)
