# Writes the site's index.html from index.html.in, with what the first screen needs in it: its
# style, its letters (base64), the code that draws it, the recorded first screen, and the line for
# a browser without scripts (in English, the page's language until a script says otherwise);
# then, into its Content-Security-Policy, the digests of its inline scripts and style as they came
# out (page_policy.py).
#   cmake -DTEMPLATE=<index.html.in> -DSTYLE=<first.css> -DFONT=<the first screen's face> -DFONT_RANGE=<its letters>
#         -DREST_RANGE=<the letters of the face's file, fonts/numerak-sans.woff2>
#         -DPYTHON=<python3> -DSCRIPT=<first.js> -DFIRST_SCREEN=<first_screen.json> -DNEEDS_SCRIPT=<needs_script.txt>
#         -DOUT=<index.html> -DNUMERAK_TITLE=... -DNUMERAK_SUMMARY=... -P write_page.cmake
file(READ "${STYLE}" PAGE_STYLE)
file(READ "${NEEDS_SCRIPT}" PAGE_NEEDS_SCRIPT)
file(READ "${FONT_RANGE}" PAGE_FONT_RANGE)
file(READ "${REST_RANGE}" PAGE_REST_RANGE)
# Text, never markup, whoever writes the words.
string(REPLACE "&" "&amp;" PAGE_NEEDS_SCRIPT "${PAGE_NEEDS_SCRIPT}")
string(REPLACE "<" "&lt;" PAGE_NEEDS_SCRIPT "${PAGE_NEEDS_SCRIPT}")
string(REPLACE ">" "&gt;" PAGE_NEEDS_SCRIPT "${PAGE_NEEDS_SCRIPT}")
execute_process(COMMAND "${PYTHON}" -c "import base64, sys; print(base64.b64encode(open(sys.argv[1], 'rb').read()).decode(), end='')"
                        "${FONT}" OUTPUT_VARIABLE PAGE_FONT COMMAND_ERROR_IS_FATAL ANY)
file(READ "${SCRIPT}" PAGE_SCRIPT)
file(READ "${FIRST_SCREEN}" FIRST_SCREEN)
# Left for page_policy.py.
set(PAGE_SCRIPT_HASHES "@PAGE_SCRIPT_HASHES@")
set(PAGE_STYLE_HASHES "@PAGE_STYLE_HASHES@")
# The template's comments are for whoever reads it, not for every player to download.
file(READ "${TEMPLATE}" template)
string(REGEX REPLACE "<!--([^-]|-[^-])*-->\n?" "" template "${template}")
string(REGEX REPLACE "\n *// [^\n]*" "" template "${template}")
file(WRITE "${OUT}.in" "${template}")
configure_file("${OUT}.in" "${OUT}" @ONLY)
file(REMOVE "${OUT}.in")
get_filename_component(here "${CMAKE_CURRENT_LIST_FILE}" DIRECTORY)
execute_process(COMMAND "${PYTHON}" "${here}/page_policy.py" "${OUT}" COMMAND_ERROR_IS_FATAL ANY)
