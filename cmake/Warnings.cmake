# Every target of ours builds warning-free, and every string literal becomes CP949:
# the sources are UTF-8, the system works on CP949 bytes. Clang (the fuzzing build)
# knows no execution character set but UTF-8; the logic it exercises does not depend on
# the bytes of the program's own literals.
function(tessary_strict target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Werror
    $<$<AND:$<COMPILE_LANGUAGE:CXX>,$<CXX_COMPILER_ID:GNU>>:-fexec-charset=CP949>)
endfunction()
