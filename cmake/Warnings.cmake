# Warnings as errors on every target of our own (not on GoogleTest).
function(orvenna_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

if(NOT WIN32)
  # Host builds exist to test the portable code under the sanitizers.
  option(ORVENNA_SANITIZE "Build host code with AddressSanitizer and UBSan" ON)
  if(ORVENNA_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
  endif()
endif()
