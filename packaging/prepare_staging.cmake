# Run by CPack on its staging tree before it packs (CPACK_PRE_BUILD_SCRIPTS): every file and
# folder dated SOURCE_DATE_EPOCH, folders and programs 0755, other files 0644, and ELF programs
# stripped as Debian strips them (symbols, the compiler's comment and the bare .note section;
# the notes that say how the program was built, such as its control-flow protection, stay).
# Windows programs are signed here when a key is given (scripts/lib/sign_exe.sh).
file(GLOB_RECURSE files LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(path IN LISTS files)
  if(IS_SYMLINK "${path}")
    continue()
  elseif(IS_DIRECTORY "${path}")
    file(CHMOD "${path}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                     WORLD_READ WORLD_EXECUTE)
    continue()
  endif()
  file(READ "${path}" magic LIMIT 4 HEX)
  if(magic STREQUAL "7f454c46" AND CPACK_NUMERAK_STRIP)
    execute_process(COMMAND "${CPACK_NUMERAK_STRIP}" --remove-section=.comment --remove-section=.note
                            "${path}" COMMAND_ERROR_IS_FATAL ANY)
  endif()
  if(magic STREQUAL "7f454c46" OR magic MATCHES "^4d5a")  # ELF, or a Windows program
    set(mode OWNER_EXECUTE GROUP_EXECUTE WORLD_EXECUTE)
  else()
    set(mode "")
  endif()
  file(CHMOD "${path}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ ${mode})
  # The Windows program is signed (when the release is given a key) before it is packed.
  if(magic MATCHES "^4d5a" AND CPACK_NUMERAK_SIGN_SCRIPT)
    get_filename_component(name "${path}" NAME)
    execute_process(COMMAND bash "${CPACK_NUMERAK_SIGN_SCRIPT}" "${path}" "${name}" "${CPACK_NUMERAK_SOURCE_DATE_EPOCH}"
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()
if(files)
  execute_process(COMMAND touch -h -d "@${CPACK_NUMERAK_SOURCE_DATE_EPOCH}" ${files} COMMAND_ERROR_IS_FATAL ANY)
endif()
