# AddressSanitizer and UndefinedBehaviorSanitizer for the whole build when asked for; any
# finding aborts the process so that a test fails.
if(TOVMAR_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
