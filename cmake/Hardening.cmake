# The hardening a distribution expects of its programs, in the optimised builds: checked buffer
# functions (_FORTIFY_SOURCE needs optimisation to see the sizes), a canary on every function
# with an array or an address taken, a stack probe against stack clashes, and a relocation table
# made read-only before the program starts (full RELRO, every symbol bound at load).
if(MSVC OR NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  return()
endif()
set(tovmar_optimised $<CONFIG:Release,RelWithDebInfo,MinSizeRel>)
# A compiler or a packager's flags that already name a fortify level keep theirs.
if(NOT CMAKE_CXX_FLAGS MATCHES "_FORTIFY_SOURCE")
  add_compile_options($<${tovmar_optimised}:-U_FORTIFY_SOURCE> $<${tovmar_optimised}:-D_FORTIFY_SOURCE=2>)
endif()
add_compile_options(-fstack-protector-strong)
include(CheckCXXCompilerFlag)
check_cxx_compiler_flag(-fstack-clash-protection TOVMAR_HAS_STACK_CLASH_PROTECTION)
if(TOVMAR_HAS_STACK_CLASH_PROTECTION)
  add_compile_options(-fstack-clash-protection)
endif()
if(NOT APPLE)
  add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
