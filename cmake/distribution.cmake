# What a panel designer downloads, radios-<version>-win32.zip, made by the `package` target: the
# 32-bit module stripped of its debug information (the build tree keeps its copy for debugging),
# the sample panel and the install note. The two text files get Windows line ends: they are read
# on Windows, by Notepad and by the simulator.
# The module is shipped stripped whichever way it is installed, by `cmake --install` as by the zip.
install(CODE "set(CMAKE_INSTALL_DO_STRIP TRUE)")
install(TARGETS radios RUNTIME DESTINATION .)

set(dist_texts ${CMAKE_BINARY_DIR}/distribution)
configure_file(${CMAKE_SOURCE_DIR}/docs/install.md ${dist_texts}/INSTALL.txt @ONLY
               NEWLINE_STYLE CRLF)
configure_file(${CMAKE_SOURCE_DIR}/panels/radio-stack.cfg ${dist_texts}/radio-stack.cfg @ONLY
               NEWLINE_STYLE CRLF)
install(FILES ${dist_texts}/INSTALL.txt DESTINATION .)
install(FILES ${dist_texts}/radio-stack.cfg DESTINATION panels)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
include(CPack)

set(RADIOS_PACKAGE ${CMAKE_BINARY_DIR}/${CPACK_PACKAGE_FILE_NAME}.zip)
