# tessary_convert_texts(OUT id file id file ...): converts each UTF-8 text to CP949 in the
# build tree; OUT receives the list "id cp949-file id cp949-file ...".
function(tessary_convert_texts out)
  set(result)
  set(args ${ARGN})
  while(args)
    list(POP_FRONT args id src)
    get_filename_component(name "${src}" NAME)
    set(dst "${CMAKE_BINARY_DIR}/texts/${id}_${name}")
    add_custom_command(OUTPUT "${dst}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/texts"
      COMMAND iconv -f UTF-8 -t CP949 "${src}" -o "${dst}"
      DEPENDS "${src}" VERBATIM)
    list(APPEND result ${id} "${dst}")
  endwhile()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# tessary_embed_texts(OUT_CPP id file ...): generates a source file holding the texts as
# byte arrays, for builds that have no resource section.
function(tessary_embed_texts out_cpp)
  set(files)
  set(args ${ARGN})
  set(pairs)
  while(args)
    list(POP_FRONT args id file)
    list(APPEND files "${file}")
    list(APPEND pairs "${id}=${file}")
  endwhile()
  string(REPLACE ";" "|" pairs_arg "${pairs}")
  add_custom_command(OUTPUT "${out_cpp}"
    COMMAND ${CMAKE_COMMAND} "-DPAIRS=${pairs_arg}" "-DOUT=${out_cpp}"
            -P "${CMAKE_SOURCE_DIR}/cmake/embed_texts_script.cmake"
    DEPENDS ${files} "${CMAKE_SOURCE_DIR}/cmake/embed_texts_script.cmake" VERBATIM)
endfunction()
