# Writes the site's index.html from index.html.in, with the front end's style and page code in it:
# the page's modules, in the order given, in one function of their own.
#   cmake -DTEMPLATE=<index.html.in> -DSTYLE=<numerak.css> -DSCRIPTS=<a.js|b.js|...> -DOUT=<index.html>
#         -DNUMERAK_TITLE=... -DNUMERAK_SUMMARY=... -P write_page.cmake
file(READ "${STYLE}" PAGE_STYLE)
string(REPLACE "|" ";" scripts "${SCRIPTS}")
set(PAGE_SCRIPT "\"use strict\";\n\n(function () {\n")
foreach(script IN LISTS scripts)
  file(READ "${script}" code)
  string(APPEND PAGE_SCRIPT "${code}\n")
endforeach()
string(APPEND PAGE_SCRIPT "})();\n")
configure_file("${TEMPLATE}" "${OUT}" @ONLY)
