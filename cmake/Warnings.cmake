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

# The Windows program and the framework it links carry only what they use:
# nothing in them throws, statics are made on the one user-interface thread, and
# code is optimised for size (it waits on the user, not the processor). On i686
# no unwind tables: nothing unwinds, and the image registers no SEH handler.
# Test programs keep exceptions for GoogleTest.
function(orvenna_lean target)
  if(WIN32)
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-threadsafe-statics -Os>)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      target_compile_options(${target} PRIVATE -fno-asynchronous-unwind-tables -fno-unwind-tables)
    endif()
  endif()
endfunction()
