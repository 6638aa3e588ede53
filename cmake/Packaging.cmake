# Two Debian packages from what the install rules put down (`cpack -G DEB` in a build folder):
# tovmar-cli, the command-line tool with no GUI toolkit among its dependencies, for headless
# machines; and tovmar, the window with its desktop files, which brings tovmar-cli along (the
# AppStream entry names both programs). Their library dependencies are worked out by
# dpkg-shlibdeps (package dpkg-dev) from the libraries the installed programs load.
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL cli gui)
set(CPACK_PACKAGE_NAME tovmar)
set(CPACK_PACKAGE_VENDOR "The Tovmar developers")
# Whoever builds the packages for a distribution maintains them and names themself, "NAME
# <ADDRESS>", as Debian's own tools take it from DEBFULLNAME and DEBEMAIL: the project has no
# address of its own to put there, and without one lintian reports the field as malformed.
set(tovmar_maintainer "The Tovmar developers")
if(DEFINED ENV{DEBFULLNAME} AND DEFINED ENV{DEBEMAIL})
  set(tovmar_maintainer "$ENV{DEBFULLNAME} <$ENV{DEBEMAIL}>")
endif()
set(TOVMAR_PACKAGE_MAINTAINER ${tovmar_maintainer} CACHE STRING
  "The Debian packages' maintainer, \"NAME <ADDRESS>\"")
set(CPACK_PACKAGE_CONTACT ${TOVMAR_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The first packaging of this upstream version: "0.1.0-1".
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(tovmar_deb_version ${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})

set(CPACK_DEBIAN_CLI_PACKAGE_NAME tovmar-cli)
set(CPACK_DEBIAN_GUI_PACKAGE_NAME tovmar)
# libcurl is loaded only when a download needs it, and Mesa's drivers at run time, none of which
# dpkg-shlibdeps can see: `tovmar-cli render` draws through EGL, the window through GLX.
set(CPACK_DEBIAN_CLI_PACKAGE_DEPENDS "libcurl4")
set(CPACK_DEBIAN_CLI_PACKAGE_RECOMMENDS "libegl-mesa0, libgl1-mesa-dri")
set(CPACK_DEBIAN_GUI_PACKAGE_DEPENDS "tovmar-cli (= ${tovmar_deb_version}), libcurl4")
set(CPACK_DEBIAN_GUI_PACKAGE_RECOMMENDS "libglx-mesa0, libgl1-mesa-dri")
# A synopsis, then the long description in lines that fit a terminal.
set(CPACK_DEBIAN_CLI_DESCRIPTION
  "command-line tool for avatar body meshes
tovmar-cli prints what avatar body meshes (.llm files with named morph
targets) hold, deforms them by morph weights and appearance files, exports
them as Wavefront OBJ or glTF and draws them or their texture layout to PNG
pictures, all without a display.")
set(CPACK_DEBIAN_GUI_DESCRIPTION
  "load, shape and texture avatar body meshes
Tovmar loads avatar body meshes (.llm files with named morph targets),
deforms them by morph weights set with sliders or read from an appearance
file, puts a texture on them and shows them lit in an OpenGL view.")

# Each package's copyright file and changelog, in its documents folder, and its lintian overrides.
set(tovmar_deb_docs cli ${TOVMAR_CLI_DOC_DIR} tovmar-cli gui ${TOVMAR_DOC_DIR} tovmar)
set(TOVMAR_DEB_VERSION ${tovmar_deb_version})
set(TOVMAR_DEB_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(tovmar_changelogs)
while(tovmar_deb_docs)
  list(POP_FRONT tovmar_deb_docs component folder TOVMAR_DEB_PACKAGE)
  set(changelog ${CMAKE_BINARY_DIR}/debian/${TOVMAR_DEB_PACKAGE}/changelog.Debian)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/debian/changelog.in ${changelog} @ONLY)
  add_custom_command(OUTPUT ${changelog}.gz
    COMMAND ${TOVMAR_GZIP} -9nfk ${changelog}
    DEPENDS ${changelog}
    COMMENT "Compressing the changelog of ${TOVMAR_DEB_PACKAGE}")
  list(APPEND tovmar_changelogs ${changelog}.gz)
  install(FILES ${CMAKE_SOURCE_DIR}/cmake/debian/copyright ${changelog}.gz DESTINATION ${folder}
          COMPONENT ${component})
  # The first changelog entry closes no "intent to package" bug: these packages are built from
  # the project's own tree, not uploaded to Debian's archive.
  set(overrides ${CMAKE_BINARY_DIR}/debian/${TOVMAR_DEB_PACKAGE}/lintian-overrides)
  file(WRITE ${overrides} "${TOVMAR_DEB_PACKAGE}: initial-upload-closes-no-bugs\n")
  install(FILES ${overrides} DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
          RENAME ${TOVMAR_DEB_PACKAGE} COMPONENT ${component})
endwhile()
add_custom_target(tovmar_changelogs ALL DEPENDS ${tovmar_changelogs})
include(CPack)
