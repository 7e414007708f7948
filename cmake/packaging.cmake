# The help file and the two packages made from the Windows build: a portable
# zip and an NSIS installer (cpack, or scripts/package). makensis and chmcmd
# are Linux programs here; CPack drives makensis with our own script template
# (cmake/packaging/NSIS.template.in).
find_program(CHMCMD chmcmd REQUIRED)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

file(GLOB_RECURSE CORVID_HELP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/help/*)
file(GLOB CORVID_PICTURES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/pictures/*.png)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/Corvid.CHM
                   COMMAND ${CMAKE_SOURCE_DIR}/scripts/help-file build ${CMAKE_BINARY_DIR}/Corvid.CHM
                   DEPENDS ${CORVID_HELP_SOURCES} ${CORVID_PICTURES} ${CMAKE_SOURCE_DIR}/scripts/help-file
                   COMMENT "Compiling Corvid.CHM")
add_custom_target(corvid-help ALL DEPENDS ${CMAKE_BINARY_DIR}/Corvid.CHM)
add_test(NAME help.contents COMMAND ${CMAKE_SOURCE_DIR}/scripts/help-file check ${CMAKE_BINARY_DIR}/Corvid.CHM)

# The runtime linked into Corvid.exe asks for its notices to travel with it.
set(CORVID_NOTICES ${CMAKE_BINARY_DIR}/THIRD-PARTY-NOTICES.txt)
file(WRITE ${CORVID_NOTICES}
     "Corvid.exe contains the mingw-w64 runtime (winpthreads among it) and the GCC\n"
     "runtime libraries (libstdc++, libgcc), linked statically. Their notices follow.\n\n")
foreach(notice /usr/share/doc/mingw-w64-x86-64-dev/copyright
               /usr/share/doc/gcc-mingw-w64-x86-64-posix-runtime/copyright)
  if(EXISTS ${notice})
    file(READ ${notice} text)
    file(APPEND ${CORVID_NOTICES} "==== ${notice}\n\n${text}\n")
  endif()
endforeach()

install(TARGETS Corvid RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/Corvid.CHM ${CMAKE_SOURCE_DIR}/LICENSE.txt ${CORVID_NOTICES} DESTINATION .)
# The users' README (how to start, where the settings and the help are); the
# developers' README.md stays with the sources.
install(FILES ${CMAKE_SOURCE_DIR}/cmake/packaging/README.txt DESTINATION .)

file(STRINGS ${CMAKE_SOURCE_DIR}/src/base/version.h CORVID_VERSION_LINE REGEX "CORVID_VERSION_TEXT \"")
string(REGEX MATCH "\"([^\"]+)\"" _ "${CORVID_VERSION_LINE}")
set(CPACK_PACKAGE_NAME Corvid)
set(CPACK_PACKAGE_VENDOR Corvid)
set(CPACK_PACKAGE_VERSION ${CMAKE_MATCH_1})
set(CPACK_PACKAGE_FILE_NAME Corvid-${CPACK_PACKAGE_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Corvid)
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE.txt)
# Read by our template.
set(CPACK_CORVID_ICON ${CMAKE_SOURCE_DIR}/src/app/corvid.ico)
set(CPACK_CORVID_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE.txt)
list(APPEND CMAKE_MODULE_PATH ${CMAKE_SOURCE_DIR}/cmake/packaging)
include(CPack)

# The installer test installs what cpack made from this build.
add_test(NAME package.installer COMMAND ${CMAKE_CPACK_COMMAND} -G NSIS --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
         WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(package.installer PROPERTIES FIXTURES_SETUP package)
set_tests_properties(wine.installer_test_win32 PROPERTIES FIXTURES_REQUIRED "wine;package")
target_link_libraries(installer_test_win32 PRIVATE uuid)
