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

# The Windows installer records the names of the files it installs, so that the next one removes
# them without running anything of this one (packaging/windows/NSIS.template.in): they are written
# beside the staging tree, for the installer's script to include. That removal takes plain names in
# one folder, never a folder's content, so the tree holds files only.
if(CPACK_GENERATOR MATCHES "^NSIS")
  set(names "")
  foreach(path IN LISTS files)
    file(RELATIVE_PATH name "${CPACK_TEMPORARY_DIRECTORY}" "${path}")
    if(IS_DIRECTORY "${path}" OR NOT name MATCHES "^[A-Za-z0-9][A-Za-z0-9._ -]*$")
      message(FATAL_ERROR "The Windows installer removes files by their plain names; ${name} is not one")
    endif()
    list(APPEND names "${name}")
  endforeach()
  list(JOIN names "|" names)
  file(WRITE "${CPACK_TOPLEVEL_DIRECTORY}/installed_files.nsh" "!define STAGED_FILES \"${names}\"\n")
endif()
