# Warnings for every target of the project; a warning is a bug to fix.
function(pavonis_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                         -Wnon-virtual-dtor -Woverloaded-virtual -Wcast-align)
  if(PAVONIS_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# Code without Qt also gets the conversion warnings: scores and codes are
# fixed-width integers and a silent narrowing there is a wrong GIR.
function(pavonis_strict_warnings target)
  pavonis_warnings(${target})
  target_compile_options(${target} PRIVATE -Wconversion -Wsign-conversion -Wold-style-cast)
endfunction()
