# Writes the program's icon as resource script text, for numerak.rc to include.
#
#   cmake -DICO=numerak.ico -DOUT=numerak_icon.rc -P write_icon_rc.cmake
#
# numerak.exe's icon is group 1, and its images are icons 30001, 30002, ... in the order
# they stand in the .ico file. An ICON statement cannot say that: windres and rc.exe both
# number the images themselves, from 1 or from wherever their counter stands. So this
# script reads the .ico and writes the two kinds of resource out in full, as raw data:
#
#   - each image as an RT_ICON (type 3) resource: its bytes exactly as in the .ico;
#   - one RT_GROUP_ICON (type 14) resource: the icon directory, with each entry's file
#     offset replaced by the number of its RT_ICON resource.
#
# Raw data blocks are plain resource script, read the same way by windres and rc.exe, and
# the script needs nothing at build time but CMake itself.

set(group_id 1)
set(first_icon_id 30001)

if(NOT DEFINED ICO OR NOT DEFINED OUT)
  message(FATAL_ERROR "usage: cmake -DICO=<icon file> -DOUT=<resource script> -P write_icon_rc.cmake")
endif()
if(NOT EXISTS "${ICO}")
  message(FATAL_ERROR "${ICO}: no such icon file")
endif()

file(READ "${ICO}" ico HEX)
string(LENGTH "${ico}" ico_digits)
math(EXPR ico_size "${ico_digits} / 2")

include(${CMAKE_CURRENT_LIST_DIR}/../cmake/little_endian.cmake)

if(ico_size LESS 6)
  message(FATAL_ERROR "${ICO}: too short to be an icon file")
endif()
le_value(ico 0 2 reserved)
le_value(ico 2 2 kind)
le_value(ico 4 2 count)
if(NOT reserved EQUAL 0 OR NOT kind EQUAL 1 OR count EQUAL 0)
  message(FATAL_ERROR "${ICO}: not an icon file (an .ico starts 0, 1, and its number of images)")
endif()
math(EXPR directory_end "6 + 16 * ${count}")
if(ico_size LESS directory_end)
  message(FATAL_ERROR "${ICO}: the directory of ${count} images is cut short")
endif()

get_filename_component(ico_name "${ICO}" NAME)
set(rc "// Generated from ${ico_name} by write_icon_rc.cmake; do not edit.\n\n")
set(group_rows "")
string(REPEAT "0x...., " 11 eleven_words)  # raw data goes twelve words to a line
math(EXPR last "${count} - 1")
foreach(i RANGE ${last})
  math(EXPR entry "6 + 16 * ${i}")
  math(EXPR id "${first_icon_id} + ${i}")
  le_value(ico ${entry} 1 width)
  math(EXPR at "${entry} + 1")
  le_value(ico ${at} 1 height)
  math(EXPR at "${entry} + 2")
  le_value(ico ${at} 1 colours)
  math(EXPR at "${entry} + 4")
  le_value(ico ${at} 2 planes)
  math(EXPR at "${entry} + 6")
  le_value(ico ${at} 2 bits)
  math(EXPR at "${entry} + 8")
  le_value(ico ${at} 4 bytes)
  math(EXPR at "${entry} + 12")
  le_value(ico ${at} 4 offset)
  math(EXPR image_end "${offset} + ${bytes}")
  if(bytes EQUAL 0 OR offset LESS directory_end OR image_end GREATER ico_size)
    message(FATAL_ERROR "${ICO}: image ${i} lies outside the file (offset ${offset}, ${bytes} bytes, file ${ico_size} bytes)")
  endif()

  # Some icon writers leave planes and bit count 0 in the directory; the image's own
  # bitmap header has them, and the group needs them to pick the image for a display.
  if((planes EQUAL 0 OR bits EQUAL 0) AND bytes GREATER 40)
    le_value(ico ${offset} 4 header_size)
    if(header_size EQUAL 40)
      math(EXPR at "${offset} + 12")
      le_value(ico ${at} 2 planes)
      math(EXPR at "${offset} + 14")
      le_value(ico ${at} 2 bits)
    endif()
  endif()

  math(EXPR digit "${offset} * 2")
  math(EXPR digits "${bytes} * 2")
  string(SUBSTRING "${ico}" ${digit} ${digits} image)
  # Raw data is written in 16-bit words. A bitmap image always fills whole words; a
  # compressed (PNG) one may not, and gets one zero byte after its end, which PNG
  # readers never look at. The group states the size of the resource as it is.
  math(EXPR odd "${bytes} % 2")
  if(odd)
    string(APPEND image "00")
    math(EXPR bytes "${bytes} + 1")
  endif()
  string(REGEX REPLACE "(..)(..)" "0x\\2\\1, " words "${image}")
  string(REGEX REPLACE "(${eleven_words}0x....), " "\\1,\n  " words "${words}")
  string(REGEX REPLACE "[ \n,]+$" "" words "${words}")

  string(APPEND rc "// Image ${i}: ${width}x${height}, ${bits} bits per pixel.\n"
                   "${id} 3\nBEGIN\n  ${words}\nEND\n\n")

  # An entry: width and height as one word, colour count and a reserved byte as another,
  # then planes, bit count, the size of the image resource and its number.
  math(EXPR size_word "(${height} << 8) | ${width}" OUTPUT_FORMAT HEXADECIMAL)
  set(separator ",")
  if(i EQUAL last)
    set(separator "")
  endif()
  string(APPEND group_rows "  ${size_word}, ${colours}, ${planes}, ${bits}, ${bytes}L, ${id}${separator}\n")
endforeach()

string(APPEND rc "// The icon group that names them: the program's icon.\n"
                 "${group_id} 14\nBEGIN\n  0, 1, ${count},\n${group_rows}END\n")

file(WRITE "${OUT}" "${rc}")
