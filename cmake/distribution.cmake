# What a panel designer downloads, radios-VERSION-win32.zip, made by the `package` target: one
# folder radios-VERSION/ with the 32-bit module stripped of its debug information and symbols, the
# install note, the sample panels and SHA256SUMS of them. `cmake --install` puts the same files,
# byte for byte, into its prefix. The texts get Windows line ends: they are read on Windows, by
# Notepad and by the simulator.
#
# Two builds of one commit give the same bytes: the module carries no time stamp and no build path
# (module/CMakeLists.txt), strip writes none, and the zip lists its files in one order, each with
# the commit's time (tools/distribution_zip.py).
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(dist_folder ${PROJECT_NAME}-${PROJECT_VERSION})
set(dist_dir ${CMAKE_BINARY_DIR}/distribution/${dist_folder})

# The install note names the version it belongs to (@PROJECT_VERSION@ in docs/install.md).
set(dist_texts INSTALL.txt panels/window-of-their-own.cfg panels/lines-for-an-existing-window.cfg)
set(dist_sources docs/install.md panels/window-of-their-own.cfg
                 panels/lines-for-an-existing-window.cfg)
foreach(text source IN ZIP_LISTS dist_texts dist_sources)
  configure_file(${CMAKE_SOURCE_DIR}/${source} ${dist_dir}/${text} @ONLY NEWLINE_STYLE CRLF)
endforeach()

# SOURCE_DATE_EPOCH=0: strip stamps a PE header with the time it runs unless told a time.
add_custom_command(
  OUTPUT ${dist_dir}/radios.gau
  COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0
          ${CMAKE_STRIP} --strip-all -o ${dist_dir}/radios.gau $<TARGET_FILE:radios>
  DEPENDS radios
  COMMENT "Stripping radios.gau for the distribution"
  VERBATIM)
set(dist_files ${dist_texts} radios.gau)
list(TRANSFORM dist_files PREPEND ${dist_dir}/ OUTPUT_VARIABLE dist_paths)
add_custom_command(
  OUTPUT ${dist_dir}/SHA256SUMS
  COMMAND ${CMAKE_COMMAND} -DFOLDER=${dist_dir} "-DFILES=${dist_files}"
          -P ${CMAKE_SOURCE_DIR}/cmake/sha256sums.cmake
  DEPENDS ${dist_paths} ${CMAKE_SOURCE_DIR}/cmake/sha256sums.cmake
  COMMENT "Writing SHA256SUMS of the distribution"
  VERBATIM)
add_custom_target(distribution ALL DEPENDS ${dist_dir}/SHA256SUMS)

list(APPEND dist_files SHA256SUMS)
foreach(file ${dist_files})
  get_filename_component(folder ${file} DIRECTORY)
  install(FILES ${dist_dir}/${file} DESTINATION ./${folder})
endforeach()

# Made anew on every call, so the time in it is the commit's even when nothing else changed. A
# build folder whose zip CPack once made keeps CPack's configuration, which reserves the name.
file(REMOVE ${CMAKE_BINARY_DIR}/CPackConfig.cmake ${CMAKE_BINARY_DIR}/CPackSourceConfig.cmake)
set(RADIOS_PACKAGE ${CMAKE_BINARY_DIR}/${dist_folder}-win32.zip)
add_custom_target(package
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/distribution_zip.py ${RADIOS_PACKAGE}
          ${CMAKE_SOURCE_DIR} ${dist_dir} ${dist_files}
  DEPENDS distribution
  COMMENT "Zipping ${dist_folder}/ into ${RADIOS_PACKAGE}"
  VERBATIM)
