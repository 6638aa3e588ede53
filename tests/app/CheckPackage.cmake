# Builds the Debian package of a build folder into a fresh folder and checks its name, its files
# and that its dependencies were worked out from the programs' libraries.
# cmake -DBUILD_DIR=... -DWORK_DIR=... -DVERSION=... -P CheckPackage.cmake
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
execute_process(
  COMMAND ${CMAKE_CPACK_COMMAND} -G DEB -B ${WORK_DIR} --config ${BUILD_DIR}/CPackConfig.cmake
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${output}")
endif()
file(GLOB packages ${WORK_DIR}/tovmar_${VERSION}_*.deb)
list(LENGTH packages count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one tovmar_${VERSION}_*.deb in ${WORK_DIR}, found: ${packages}")
endif()
execute_process(COMMAND dpkg-deb --field ${packages} Package Depends
  OUTPUT_VARIABLE fields COMMAND_ERROR_IS_FATAL ANY)
foreach(expected "Package: tovmar" "Depends: .*libc6" "libwxgtk3.2" "libxml2" "libcurl")
  if(NOT fields MATCHES "${expected}")
    message(FATAL_ERROR "the package's fields lack \"${expected}\":\n${fields}")
  endif()
endforeach()
execute_process(COMMAND dpkg-deb --contents ${packages}
  OUTPUT_VARIABLE contents COMMAND_ERROR_IS_FATAL ANY)
foreach(file usr/bin/tovmar usr/bin/tovmar-cli usr/share/applications/org.example.Tovmar.desktop
             usr/share/metainfo/org.example.Tovmar.metainfo.xml
             usr/share/icons/hicolor/scalable/apps/tovmar.svg
             usr/share/icons/hicolor/256x256/apps/tovmar.png usr/share/man/man1/tovmar-cli.1)
  string(FIND "${contents}" "./${file}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the package lacks /${file}:\n${contents}")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK_DIR})
