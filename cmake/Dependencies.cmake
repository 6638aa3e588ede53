# Third-party libraries, each found once and wrapped in a target where CMake has none.
find_package(OpenGL REQUIRED COMPONENTS OpenGL)
# GLU: Mesa's libGLU on Linux, glu32 on Windows, the OpenGL framework on macOS.
if(NOT TARGET OpenGL::GLU)
  message(FATAL_ERROR "GLU was not found (Debian and Ubuntu: libglu1-mesa-dev)")
endif()
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
find_package(TIFF REQUIRED)
# ISA-L: the fast PNG setting's deflate and check values; its package has no CMake files.
find_package(PkgConfig REQUIRED)
pkg_check_modules(ISAL REQUIRED IMPORTED_TARGET libisal)
find_package(LibXml2 REQUIRED)
find_package(CURL REQUIRED)
# tinygltf: Debian builds it as a shared library with its JSON and image code inside.
find_package(TinyGLTF REQUIRED)

# wxWidgets: core and gl for the application's windows and 3D view; the tests also use its image
# class as a reference decoder.
find_package(wxWidgets 3.2 REQUIRED COMPONENTS gl core base)
add_library(tovmar_wx INTERFACE)
target_include_directories(tovmar_wx SYSTEM INTERFACE ${wxWidgets_INCLUDE_DIRS})
target_compile_definitions(tovmar_wx INTERFACE ${wxWidgets_DEFINITIONS})
target_compile_options(tovmar_wx INTERFACE ${wxWidgets_CXX_FLAGS})
target_link_libraries(tovmar_wx INTERFACE ${wxWidgets_LIBRARIES})
