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
  if(TOVMAR_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
