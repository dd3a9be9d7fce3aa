# Project-wide warning set, applied per target so that third-party code is untouched.
function(dravel_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
    -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual -Wimplicit-fallthrough)
  if(DRAVEL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
