# The moment a build is of: SOURCE_DATE_EPOCH where the builder sets it (scripts/release.sh sets
# it to the commit's time), else the time of the commit checked out, else the time the tree's
# files carry (an unpacked git archive gives them the commit's). Dates written into what ships
# (the manual page, the package's change log) come from it, never from the clock, so that two
# builds of one commit give the same bytes.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(NUMERAK_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --show-toplevel
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE toplevel
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(toplevel STREQUAL PROJECT_SOURCE_DIR)
      execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
                      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE NUMERAK_SOURCE_DATE_EPOCH
                      OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    endif()
  endif()
  if(NOT NUMERAK_SOURCE_DATE_EPOCH)
    file(TIMESTAMP ${PROJECT_SOURCE_DIR}/CMakeLists.txt NUMERAK_SOURCE_DATE_EPOCH "%s" UTC)
  endif()
endif()
if(NOT NUMERAK_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH=${NUMERAK_SOURCE_DATE_EPOCH}: seconds since 1970 expected")
endif()
# string(TIMESTAMP) reads it from the environment.
set(ENV{SOURCE_DATE_EPOCH} ${NUMERAK_SOURCE_DATE_EPOCH})
string(TIMESTAMP NUMERAK_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP NUMERAK_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
