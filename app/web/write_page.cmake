# Writes the site's index.html from index.html.in, with the front end's style and the page's
# bundled code in it.
#   cmake -DTEMPLATE=<index.html.in> -DSTYLE=<numerak.css> -DSCRIPT=<page.js> -DOUT=<index.html>
#         -DNUMERAK_TITLE=... -DNUMERAK_SUMMARY=... -P write_page.cmake
file(READ "${STYLE}" PAGE_STYLE)
file(READ "${SCRIPT}" PAGE_SCRIPT)
configure_file("${TEMPLATE}" "${OUT}" @ONLY)
