# Every target of ours builds warning-free, and every string literal becomes CP949:
# the sources are UTF-8, the system works on CP949 bytes.
function(tessary_strict target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Werror
    $<$<COMPILE_LANGUAGE:CXX>:-fexec-charset=CP949>)
endfunction()
