# Strict warnings for every target of the project; errors when TOVMAR_WERROR is on.
function(tovmar_set_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4)
    if(TOVMAR_WERROR)
      target_compile_options(${target} PRIVATE /WX)
    endif()
    return()
  endif()
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wno-sign-conversion -Wnon-virtual-dtor
                                           -Wold-style-cast -Woverloaded-virtual)
  # GCC 12's optimiser reports out-of-range sizes inside the standard library's inline string and
  # container code that no path can reach (-Wrestrict, -Wstringop-overread, -Wmaybe-uninitialized
  # at -O2 and -O3); they say nothing about this project's code.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict -Wno-stringop-overread
                                             -Wno-maybe-uninitialized)
  endif()
  if(TOVMAR_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
