# The third-party notices of a program, written at each link from what that link actually read
# (packaging/notices/write_notices.py): numerak_third_party_notices(<target> <title> <notices file>
# [ALSO <file>...]), ALSO naming files the program carries that its link did not read (a font).
# The linker's trace stays beside the target as <target>.link-trace, for the test that reads it.
# The target is linked by the C++ compiler driver, whose command alone gets the trace.
function(numerak_third_party_notices target title notices)
  cmake_parse_arguments(PARSE_ARGV 3 notices "" "" "ALSO")
  set(also "")
  foreach(file IN LISTS notices_ALSO)
    list(APPEND also --also ${file})
  endforeach()
  find_program(NUMERAK_DEBIAN_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(trace ${CMAKE_CURRENT_BINARY_DIR}/${target}.link-trace)
  set_property(TARGET ${target} PROPERTY RULE_LAUNCH_LINK
               "sh ${PROJECT_SOURCE_DIR}/cmake/traced_link.sh ${trace} ${CMAKE_CXX_COMPILER}")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${NUMERAK_DEBIAN_PYTHON} -B ${PROJECT_SOURCE_DIR}/packaging/notices/write_notices.py
            --trace ${trace} --out ${notices} --title ${title} ${also}
    COMMENT "Writing the third-party notices of ${title} from its link"
    VERBATIM)
endfunction()
