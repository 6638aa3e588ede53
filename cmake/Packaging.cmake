# A Debian package of what the install rules put down: `cpack -G DEB` in a build folder. Its
# dependencies are worked out by dpkg-shlibdeps (package dpkg-dev) from the libraries the
# installed programs load.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tovmar)
set(CPACK_PACKAGE_VENDOR "The Tovmar developers")
set(CPACK_PACKAGE_CONTACT "The Tovmar developers <tovmar@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Load, shape and texture avatar body meshes")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Tovmar loads avatar body meshes (.llm files with named morph targets), deforms them by morph "
    "weights, textures them and shows them lit in an OpenGL view. tovmar-cli prints, exports and "
    "draws the same meshes without a display.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://tovmar.example.org/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Mesa's drivers are loaded at run time, which dpkg-shlibdeps cannot see: the window draws through
# GLX and `tovmar-cli render` through EGL.
# libcurl too is loaded only when a download needs it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcurl4")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri, libglx-mesa0, libegl-mesa0")
set(CPACK_STRIP_FILES ON)
include(CPack)
