# Compiles numerak.rc with the MinGW resource compiler, reads the result back and checks it.
#
#   cmake -DWINDRES=<windres> [-DPREPROCESSOR=<gcc or clang>] -DRC_SCRIPT=<numerak.rc>
#         -DICON_SCRIPT=<write_icon_rc.cmake> -DICO=<numerak.ico> -DWORK_DIR=<scratch folder>
#         -DMAJOR=<n> -DMINOR=<n> -DREVISION=<n> -DVERSION_TEXT=<the text version>
#         -DCHECK=fixed|strings|icons -P check_version_resource.cmake
#
# The resources are read back twice: as windres decompiles them (-O rc), and from the
# compiled .res itself for what the decompiled text does not show: the fields windres
# leaves out when they are 0, the NUL that ends each string, the images' bytes.
#
#   fixed    the fixed part of the version block: versions, flags, OS, type, date
#   strings  the string table 040904B0, its keys in order with their exact values, and
#            the translation pair
#   icons    the icon group 1 and its images 30001..30009, as in the .ico

foreach(arg RC_SCRIPT ICON_SCRIPT ICO WORK_DIR MAJOR MINOR REVISION VERSION_TEXT CHECK)
  if(NOT DEFINED ${arg})
    message(FATAL_ERROR "check_version_resource.cmake: -D${arg}=... is missing")
  endif()
endforeach()
if(NOT WINDRES)
  message(FATAL_ERROR
    "The MinGW resource compiler x86_64-w64-mingw32-windres was not found, so numerak.rc "
    "cannot be checked. Install the Debian package binutils-mingw-w64-x86-64 "
    "(scripts/deps.sh does) and configure again.")
endif()

set(failures "")
macro(fail text)
  string(APPEND failures "  - ${text}\n")
endmacro()

# --- Compile and decompile ----------------------------------------------------------------

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
execute_process(
  COMMAND "${CMAKE_COMMAND}" "-DICO=${ICO}" "-DOUT=${WORK_DIR}/numerak_icon.rc" -P "${ICON_SCRIPT}"
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Writing the icon resources from ${ICO} failed:\n${out}")
endif()

set(windres "${WINDRES}")
if(PREPROCESSOR)
  # What windres runs by default, "gcc -E -xc -DRC_INVOKED", with the compiler at hand.
  list(APPEND windres "--preprocessor=${PREPROCESSOR}" --preprocessor-arg=-E
       --preprocessor-arg=-xc --preprocessor-arg=-DRC_INVOKED)
endif()
set(res "${WORK_DIR}/numerak.res")
set(decompiled "${WORK_DIR}/numerak.decompiled.rc")
execute_process(
  COMMAND ${windres} -I "${WORK_DIR}" -i "${RC_SCRIPT}" -O res -o "${res}"
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "windres could not compile ${RC_SCRIPT}:\n${out}")
endif()
execute_process(
  COMMAND ${windres} -J res -i "${res}" -O rc -o "${decompiled}"
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "windres could not decompile ${res}:\n${out}")
endif()
file(READ "${decompiled}" text)

# --- Reading binary data, held as a string of hex digits ---------------------------------

include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/little_endian.cmake)

# A type or name field of a resource header at OFFSET: a number (0xFFFF, then the number)
# or a UTF-16 string up to its NUL, given back as its hex digits. END is the offset after it.
function(res_id hex_name offset out end)
  le_value(${hex_name} ${offset} 2 first)
  if(first EQUAL 65535)
    math(EXPR at "${offset} + 2")
    le_value(${hex_name} ${at} 2 id)
    math(EXPR after "${offset} + 4")
  else()
    set(at ${offset})
    set(id "")
    while(TRUE)
      le_value(${hex_name} ${at} 2 unit)
      math(EXPR at "${at} + 2")
      if(unit EQUAL 0)
        break()
      endif()
      string(APPEND id "u${unit}")
    endwhile()
    set(after ${at})
  endif()
  set(${out} "${id}" PARENT_SCOPE)
  set(${end} ${after} PARENT_SCOPE)
endfunction()

# Walks a .res file. Sets resources to the list of "type/name" in file order and, for each,
# data_<type>_<name> (its bytes in hex) and language_<type>_<name>.
function(read_res path)
  file(READ "${path}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  set(resources "")
  set(pos 0)
  while(pos LESS size)
    le_value(hex ${pos} 4 data_size)
    math(EXPR at "${pos} + 4")
    le_value(hex ${at} 4 header_size)
    math(EXPR at "${pos} + 8")
    res_id(hex ${at} type at)
    res_id(hex ${at} name at)
    math(EXPR at "(${at} + 3) / 4 * 4 + 6")  # past DataVersion and MemoryFlags
    le_value(hex ${at} 2 language)
    math(EXPR data_at "(${pos} + ${header_size}) * 2")
    math(EXPR data_digits "${data_size} * 2")
    string(SUBSTRING "${hex}" ${data_at} ${data_digits} data)
    if(NOT (type STREQUAL "0" AND data_size EQUAL 0))  # the empty entry a .res starts with
      list(APPEND resources "${type}/${name}")
      set(data_${type}_${name} "${data}" PARENT_SCOPE)
      set(language_${type}_${name} ${language} PARENT_SCOPE)
    endif()
    math(EXPR pos "(${pos} + ${header_size} + ${data_size} + 3) / 4 * 4")
  endwhile()
  set(resources "${resources}" PARENT_SCOPE)
endfunction()

# VALUE as BYTES little-endian bytes in hex.
function(le_hex value bytes out)
  set(hex "")
  math(EXPR last "${bytes} - 1")
  foreach(i RANGE ${last})
    math(EXPR byte "0x100 + ((${value} >> (8 * ${i})) & 255)" OUTPUT_FORMAT HEXADECIMAL)
    string(SUBSTRING "${byte}" 3 2 byte)
    string(APPEND hex "${byte}")
  endforeach()
  string(TOLOWER "${hex}" hex)
  set(${out} "${hex}" PARENT_SCOPE)
endfunction()

# The UTF-16LE bytes of an ASCII string, NUL-terminated, in hex.
function(utf16z text out)
  string(HEX "${text}" hex)
  string(REGEX REPLACE "(..)" "\\100" hex "${hex}")
  set(${out} "${hex}0000" PARENT_SCOPE)
endfunction()

read_res("${res}")
foreach(resource IN LISTS resources)
  string(REPLACE "/" "_" key "${resource}")
  if(NOT language_${key} EQUAL 1033)
    fail("resource ${resource} has language ${language_${key}}, not 1033 (English, United States)")
  endif()
endforeach()

set(version_resources ${resources})
list(FILTER version_resources INCLUDE REGEX "^16/")
if(NOT version_resources STREQUAL "16/1")
  fail("there should be one version resource, number 1; there are: ${version_resources}")
endif()
set(version "${data_16_1}")
if(NOT version AND CHECK MATCHES "^(fixed|strings)$")
  message(FATAL_ERROR "${RC_SCRIPT}, compiled and read back, has no version resource 1:\n${failures}")
endif()

# --- The fixed fields ---------------------------------------------------------------------

if(CHECK STREQUAL "fixed")
  set(numbers "${MAJOR}, ${MINOR}, 0, ${REVISION}")
  foreach(line "FILEVERSION ${numbers}" "PRODUCTVERSION ${numbers}" "FILEOS 0x4" "FILETYPE 0x1")
    string(FIND "${text}" "\n ${line}\n" at)
    if(at EQUAL -1)
      fail("the decompiled version block lacks \"${line}\"")
    endif()
  endforeach()
  # windres writes these only when they are not 0.
  foreach(field FILEFLAGSMASK FILEFLAGS FILESUBTYPE)
    if(text MATCHES "\n ${field} ([^\n]*)")
      fail("${field} is ${CMAKE_MATCH_1}, not 0")
    endif()
  endforeach()

  # VS_VERSIONINFO: length, value length, type, "VS_VERSION_INFO", padding, then the
  # thirteen DWORDs of VS_FIXEDFILEINFO.
  utf16z("VS_VERSION_INFO" key)
  string(SUBSTRING "${version}" 12 64 actual_key)
  le_value(version 2 2 value_length)
  if(NOT actual_key STREQUAL key OR NOT value_length EQUAL 52)
    fail("the version resource does not start with VS_VERSION_INFO and its 52-byte fixed block")
  else()
    set(names Signature StrucVersion FileVersionMS FileVersionLS ProductVersionMS
              ProductVersionLS FileFlagsMask FileFlags FileOS FileType FileSubtype
              FileDateMS FileDateLS)
    math(EXPR high "(${MAJOR} << 16) | ${MINOR}")
    set(expected 0xFEEF04BD 0x00010000 ${high} ${REVISION} ${high}
                 ${REVISION} 0 0 0x4 0x1 0 0 0)
    foreach(i RANGE 12)
      list(GET names ${i} name)
      list(GET expected ${i} want)
      math(EXPR at "40 + 4 * ${i}")
      le_value(version ${at} 4 got)
      math(EXPR want "${want}")
      if(NOT got EQUAL want)
        math(EXPR got "${got}" OUTPUT_FORMAT HEXADECIMAL)
        math(EXPR want "${want}" OUTPUT_FORMAT HEXADECIMAL)
        fail("${name} is ${got}, not ${want}")
      endif()
    endforeach()
  endif()
endif()

# --- The strings and the translation ------------------------------------------------------

if(CHECK STREQUAL "strings")
  set(keys Comments CompanyName ProductName FileVersion ProductVersion InternalName OriginalFilename)
  set(value_Comments "Numerak, the game where you must think inside the box. Select your game difficulty, then attempt the guess four numbers in the middle of two other numbers. But be warned, you have a limited amount of turns to do it in! ")
  set(value_CompanyName "Numerak Developers")
  set(value_ProductName "Numerak")
  set(value_FileVersion "${VERSION_TEXT}")
  set(value_ProductVersion "${VERSION_TEXT}")
  set(value_InternalName "numerak")
  set(value_OriginalFilename "numerak.exe")

  string(FIND "${text}" "BLOCK \"StringFileInfo\"" from)
  string(FIND "${text}" "BLOCK \"VarFileInfo\"" to)
  if(from EQUAL -1 OR to LESS from)
    fail("the decompiled version block has no StringFileInfo before its VarFileInfo")
  else()
    math(EXPR length "${to} - ${from}")
    string(SUBSTRING "${text}" ${from} ${length} table)
    string(REGEX MATCHALL "BLOCK \"[^\"]*\"" blocks "${table}")
    if(NOT blocks STREQUAL "BLOCK \"StringFileInfo\";BLOCK \"040904B0\"")
      fail("StringFileInfo should hold the one table 040904B0; it holds: ${blocks}")
    endif()

    # Each VALUE line in turn against the expected key and value.
    string(REGEX MATCHALL "VALUE \"[^\"\n]*\", \"[^\n]*\"\n" lines "${table}")
    list(LENGTH lines count)
    list(LENGTH keys expected_count)
    if(NOT count EQUAL expected_count)
      fail("the string table has ${count} values, not ${expected_count}")
    endif()
    set(i 0)
    foreach(line IN LISTS lines)
      if(i LESS expected_count)
        list(GET keys ${i} want_key)
        set(want "VALUE \"${want_key}\", \"${value_${want_key}}\"\n")
        if(NOT line STREQUAL want)
          string(STRIP "${line}" line)
          string(STRIP "${want}" want)
          fail("value ${i} is\n      ${line}\n    not\n      ${want}")
        endif()
      endif()
      math(EXPR i "${i} + 1")
    endforeach()
  endif()

  # The decompiled text drops the NUL that ends a value, so look for each String as
  # stored: its length, the value's length in characters with the NUL, type 1 (text), the
  # key and its NUL, padding to a DWORD, the value and its one NUL.
  foreach(key IN LISTS keys)
    utf16z("${key}" key_hex)
    utf16z("${value_${key}}" value_hex)
    string(LENGTH "${key_hex}" key_digits)
    string(LENGTH "${value_hex}" value_digits)
    math(EXPR padding "(4 - (6 + ${key_digits} / 2) % 4) % 4")
    string(REPEAT "00" ${padding} padding_hex)
    math(EXPR node_length "6 + ${key_digits} / 2 + ${padding} + ${value_digits} / 2")
    math(EXPR value_units "${value_digits} / 4")
    le_hex(${node_length} 2 length_hex)
    le_hex(${value_units} 2 units_hex)
    string(FIND "${version}" "${length_hex}${units_hex}0100${key_hex}${padding_hex}${value_hex}" at)
    if(at EQUAL -1)
      fail("no String in the version resource holds ${key} = \"${value_${key}}\" ending in exactly one NUL")
    endif()
  endforeach()

  string(REGEX MATCHALL "VALUE \"Translation\"[^\n]*" translations "${text}")
  if(NOT translations STREQUAL "VALUE \"Translation\", 0x409, 1200")
    fail("the translations should be the one pair 0x409, 1200 (0x04B0); they are: ${translations}")
  endif()
endif()

# --- The icon -----------------------------------------------------------------------------

if(CHECK STREQUAL "icons")
  set(icons ${resources})
  list(FILTER icons INCLUDE REGEX "^3/")
  set(expected_icons "")
  foreach(id RANGE 30001 30009)
    list(APPEND expected_icons "3/${id}")
  endforeach()
  if(NOT icons STREQUAL expected_icons)
    fail("the icon images should be 30001..30009 in order; they are: ${icons}")
  endif()
  set(groups ${resources})
  list(FILTER groups INCLUDE REGEX "^14/")
  if(NOT groups STREQUAL "14/1")
    fail("there should be one icon group, number 1; there are: ${groups}")
  endif()

  # The group as windres decompiles it: one line per image, the first four bytes as octal
  # escapes, then planes, bits, bytes and the icon's number.
  function(octal text out)
    string(REGEX MATCHALL "[0-7]" digits "${text}")
    set(value 0)
    foreach(d IN LISTS digits)
      math(EXPR value "${value} * 8 + ${d}")
    endforeach()
    set(${out} ${value} PARENT_SCOPE)
  endfunction()
  string(REGEX MATCH "\n1 14 /\\* RT_GROUP_ICON \\*/[^\n]*\nBEGIN\n[^\n]*Has ([0-9]+) elements" found "${text}")
  if(NOT found)
    fail("the decompiled resources have no icon group 1")
  elseif(NOT CMAKE_MATCH_1 EQUAL 9)
    fail("icon group 1 has ${CMAKE_MATCH_1} images, not 9")
  endif()
  string(REGEX MATCHALL "\"(\\\\[0-7]+)(\\\\[0-7]+)(\\\\[0-7]+)\\\\[0-7]+\", [0-9]+, [0-9]+, 0x[0-9a-f]+L, [0-9]+[^\n]*Element no"
         elements "${text}")

  file(READ "${ICO}" ico HEX)
  set(sizes 16 16 16 32 32 32 48 48 48)
  set(depths 4 8 32 4 8 32 4 8 32)
  set(i 0)
  foreach(element IN LISTS elements)
    if(i GREATER 8)
      break()
    endif()
    string(REGEX MATCH "\"(\\\\[0-7]+)(\\\\[0-7]+)(\\\\[0-7]+)\\\\[0-7]+\", ([0-9]+), ([0-9]+), 0x([0-9a-f]+)L, ([0-9]+)"
           _ "${element}")
    set(planes ${CMAKE_MATCH_4})
    set(bits ${CMAKE_MATCH_5})
    math(EXPR bytes "0x${CMAKE_MATCH_6}")
    set(id ${CMAKE_MATCH_7})
    octal("${CMAKE_MATCH_1}" width)
    octal("${CMAKE_MATCH_2}" height)
    octal("${CMAKE_MATCH_3}" colours)
    list(GET sizes ${i} want_size)
    list(GET depths ${i} want_bits)
    set(want_colours 0)
    if(want_bits EQUAL 4)
      set(want_colours 16)
    endif()
    math(EXPR want_id "30001 + ${i}")
    set(got "${width}x${height}, ${colours} colours, ${planes} plane, ${bits} bits, icon ${id}")
    set(want "${want_size}x${want_size}, ${want_colours} colours, 1 plane, ${want_bits} bits, icon ${want_id}")
    if(NOT got STREQUAL want)
      fail("group entry ${i} is ${got}; it should be ${want}")
    endif()

    # Image i of the .ico, byte for byte, is the icon that the entry names.
    math(EXPR entry "6 + 16 * ${i}")
    math(EXPR at "${entry} + 8")
    le_value(ico ${at} 4 ico_bytes)
    math(EXPR at "${entry} + 12")
    le_value(ico ${at} 4 ico_offset)
    math(EXPR digit "${ico_offset} * 2")
    math(EXPR digits "${ico_bytes} * 2")
    string(SUBSTRING "${ico}" ${digit} ${digits} image)
    if(NOT DEFINED data_3_${id})
      fail("group entry ${i} names icon ${id}, which is not there")
    elseif(NOT data_3_${id} STREQUAL image AND NOT data_3_${id} STREQUAL "${image}00")
      fail("icon ${id} is not image ${i} of ${ICO}")
    else()
      string(LENGTH "${data_3_${id}}" digits)
      math(EXPR digits "${digits} / 2")
      if(NOT bytes EQUAL digits)
        fail("group entry ${i} gives icon ${id} ${bytes} bytes; it has ${digits}")
      endif()
    endif()
    math(EXPR i "${i} + 1")
  endforeach()
  list(LENGTH elements count)
  if(NOT count EQUAL 9)
    fail("the decompiled icon group lists ${count} images, not 9")
  endif()
endif()

if(NOT CHECK MATCHES "^(fixed|strings|icons)$")
  message(FATAL_ERROR "check_version_resource.cmake: unknown -DCHECK=${CHECK}")
endif()
if(failures)
  message(FATAL_ERROR "${RC_SCRIPT}, compiled and read back:\n${failures}"
                      "(decompiled by windres into ${decompiled})")
endif()
message(STATUS "${CHECK}: as required")
