# Builds the Debian packages of a build folder into a fresh folder and checks their names, their
# files, that their dependencies were worked out from the programs' libraries with no GUI toolkit
# for tovmar-cli, that lintian finds no errors in them, and, run as root on a machine without
# them, that both install and purge without leaving a file behind.
# cmake -DBUILD_DIR=... -DWORK_DIR=... -DVERSION=... -DMAINTAINER=... -P CheckPackage.cmake
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
execute_process(
  COMMAND ${CMAKE_CPACK_COMMAND} -G DEB -B ${WORK_DIR} --config ${BUILD_DIR}/CPackConfig.cmake
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${output}")
endif()

function(check_fields package)
  execute_process(COMMAND dpkg-deb --field ${package} Package Depends
    OUTPUT_VARIABLE fields COMMAND_ERROR_IS_FATAL ANY)
  foreach(expected ${ARGN})
    if(NOT fields MATCHES "${expected}")
      message(FATAL_ERROR "the fields of ${package} lack \"${expected}\":\n${fields}")
    endif()
  endforeach()
  if(package MATCHES "tovmar-cli_" AND fields MATCHES "libwx|libgtk|libgdk")
    message(FATAL_ERROR "tovmar-cli depends on a GUI toolkit:\n${fields}")
  endif()
endfunction()

function(check_contents package)
  execute_process(COMMAND dpkg-deb --contents ${package}
    OUTPUT_VARIABLE contents COMMAND_ERROR_IS_FATAL ANY)
  foreach(file ${ARGN})
    string(FIND "${contents}" "./usr/${file}\n" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "${package} lacks /usr/${file}:\n${contents}")
    endif()
  endforeach()
endfunction()

set(deb_version ${VERSION}-1)
file(GLOB cli ${WORK_DIR}/tovmar-cli_${deb_version}_*.deb)
file(GLOB gui ${WORK_DIR}/tovmar_${deb_version}_*.deb)
file(GLOB all ${WORK_DIR}/*.deb)
list(LENGTH all count)
if(NOT cli OR NOT gui OR NOT count EQUAL 2)
  message(FATAL_ERROR "expected tovmar-cli_${deb_version}_*.deb and tovmar_${deb_version}_*.deb "
                      "in ${WORK_DIR}, found: ${all}")
endif()
check_fields(${cli} "Package: tovmar-cli" "Depends: .*libc6" "libxml2" "libcurl")
check_fields(${gui} "Package: tovmar\n" "libwxgtk3.2" "tovmar-cli \\(= ${deb_version}\\)")
check_contents(${cli} bin/tovmar-cli share/man/man1/tovmar-cli.1.gz
  share/bash-completion/completions/tovmar-cli share/doc/tovmar-cli/copyright
  share/doc/tovmar-cli/changelog.Debian.gz)
set(id io.github.tovmar.Tovmar)
check_contents(${gui} bin/tovmar share/man/man1/tovmar.1.gz share/applications/${id}.desktop
  share/metainfo/${id}.metainfo.xml share/mime/packages/tovmar-llm-mesh.xml
  share/icons/hicolor/scalable/apps/${id}.svg share/icons/hicolor/256x256/apps/${id}.png
  share/doc/tovmar/copyright share/doc/tovmar/changelog.Debian.gz share/doc/tovmar/docs/guide.md)

find_program(LINTIAN lintian)
if(LINTIAN)
  execute_process(COMMAND ${LINTIAN} --tag-display-limit 0 ${cli} ${gui}
    OUTPUT_VARIABLE findings ERROR_VARIABLE findings)
  # A build that names no maintainer's address (TOVMAR_PACKAGE_MAINTAINER) lacks only that.
  if(NOT MAINTAINER MATCHES "<.+@.+>")
    string(REGEX REPLACE "E: [^\n]*malformed-contact Maintainer[^\n]*" "" findings "${findings}")
  endif()
  if(findings MATCHES "(^|\n)E: ")
    message(FATAL_ERROR "lintian finds errors:\n${findings}")
  endif()
endif()

# Installing touches the machine: only as root, and never over packages already installed.
execute_process(COMMAND id -u OUTPUT_VARIABLE user OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND dpkg-query -W -f=\${Status} tovmar tovmar-cli
  OUTPUT_VARIABLE installed ERROR_QUIET)
if(user STREQUAL "0" AND NOT installed MATCHES "installed")
  execute_process(COMMAND dpkg -i ${cli} ${gui} RESULT_VARIABLE result
    OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(result EQUAL 0)
    execute_process(COMMAND /usr/bin/tovmar-cli --version RESULT_VARIABLE result
      OUTPUT_VARIABLE output ERROR_VARIABLE output)
  endif()
  execute_process(COMMAND dpkg --purge tovmar tovmar-cli RESULT_VARIABLE purged
    OUTPUT_VARIABLE purgeOutput ERROR_VARIABLE purgeOutput)
  if(NOT result EQUAL 0 OR NOT purged EQUAL 0)
    message(FATAL_ERROR "installing and purging the packages failed:\n${output}\n${purgeOutput}")
  endif()
  foreach(left /usr/bin/tovmar /usr/bin/tovmar-cli /usr/share/doc/tovmar /usr/share/doc/tovmar-cli
               /usr/share/applications/${id}.desktop)
    if(EXISTS ${left})
      message(FATAL_ERROR "${left} is left after the packages were purged")
    endif()
  endforeach()
endif()
file(REMOVE_RECURSE ${WORK_DIR})
