# What a release is built with beyond the warnings: on Linux the hardening Debian builds its own
# packages with, on Windows what MinGW offers numerak.exe; and for every compiler, no path of the
# build machine inside what ships. Sanitizer and fuzz builds keep their own flags, and debug
# builds are left plain (fortified functions need the optimiser).
if(MSVC OR NUMERAK_SANITIZE OR NUMERAK_FUZZ)
  return()
endif()
set(numerak_release "$<CONFIG:Release,MinSizeRel,RelWithDebInfo>")

# Two builds of one commit in two folders give the same bytes: file names in the code (assertions,
# debug information) are written from the top of the tree, not from where it was checked out.
add_compile_options(
  "$<${numerak_release}:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>"
  "$<${numerak_release}:-ffile-prefix-map=${PROJECT_BINARY_DIR}/=>")

if(EMSCRIPTEN)
  return()  # the browser is the sandbox; none of the flags below mean anything in WebAssembly
endif()

if(WIN32)
  # The stack protector needs libssp, which the compiler driver links when it sees the flag at the
  # link too. Address-space randomisation (high-entropy too) and no-execute data are the linker's
  # defaults; they are asked for anyway, so that a change of default cannot drop them. No
  # timestamp goes into the program's header.
  add_compile_options("$<${numerak_release}:-fstack-protector-strong>")
  add_link_options("$<${numerak_release}:-fstack-protector-strong>"
                   -Wl,--dynamicbase -Wl,--nxcompat -Wl,--high-entropy-va -Wl,--no-insert-timestamp)
  return()
endif()

# Linux: the flags of Debian's own hardened builds. glibc takes _FORTIFY_SOURCE=3 where its
# compiler supports it and falls back to 2 where it does not.
include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
add_compile_options(
  "$<${numerak_release}:-fstack-protector-strong;-fstack-clash-protection;-fcf-protection>"
  "$<${numerak_release}:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=3>")
add_link_options("$<${numerak_release}:LINKER:-z,relro,-z,now>")
