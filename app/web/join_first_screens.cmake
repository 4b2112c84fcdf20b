# Joins the first screen's recordings (record_first_screen.js), one a language, into one JSON
# object by language, as it goes into the page: no "</script>" can end its element early.
#   cmake -DOUT=<first_screen.json> "-DRECORDINGS=<xx.json>;..." -P join_first_screens.cmake
set(joined "")
foreach(recording IN LISTS RECORDINGS)
  get_filename_component(language "${recording}" NAME_WE)
  file(READ "${recording}" calls)
  if(joined)
    string(APPEND joined ",")
  endif()
  string(APPEND joined "\"${language}\":${calls}")
endforeach()
string(REPLACE "<" "\\u003c" joined "{${joined}}")
file(WRITE "${OUT}" "${joined}")
