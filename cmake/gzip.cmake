# numerak_gzip(<target> <file>): <file>.gz beside <file> in the current build folder, built with
# everything, compressed as Debian wants what it ships compressed: gzip -9, without a name or a
# time in the header, so that two builds give the same bytes.
function(numerak_gzip target file)
  set(dir ${CMAKE_CURRENT_BINARY_DIR})
  add_custom_command(
    OUTPUT ${dir}/${file}.gz
    COMMAND gzip -9nkf ${file}
    DEPENDS ${dir}/${file}
    WORKING_DIRECTORY ${dir}
    COMMENT "Compressing ${file}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${dir}/${file}.gz)
endfunction()
