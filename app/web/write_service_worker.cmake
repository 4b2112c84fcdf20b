# Writes the site's service worker from sw.js.in once the site is built: the files it keeps, each
# with the SHA-256 digest of its bytes (the worker keeps none that differs) and whether it keeps
# it only once a page has asked for it (the faces of one language each), and a digest of them
# all, so that a changed site is a new cache.
#   cmake -DSITE=<site folder> -DTEMPLATE=<sw.js.in> -DPROJECT_VERSION=<version> -P write_service_worker.cmake
file(GLOB_RECURSE files RELATIVE "${SITE}" "${SITE}/*")
list(REMOVE_ITEM files sw.js)
list(FILTER files EXCLUDE REGEX "(^|/)\\.")
list(SORT files)
set(digests "")
file(SHA256 "${SITE}/index.html" digest)
set(SITE_FILES "[\"./\", \"${digest}\", false]")
foreach(f IN LISTS files)
  file(SHA256 "${SITE}/${f}" digest)
  string(APPEND digests "${f} ${digest}\n")
  set(later false)
  if(f MATCHES "^fonts/numerak-cjk-")
    set(later true)
  endif()
  string(APPEND SITE_FILES ",\n  [\"${f}\", \"${digest}\", ${later}]")
endforeach()
string(SHA256 SITE_DIGEST "${digests}")
string(SUBSTRING "${SITE_DIGEST}" 0 16 SITE_DIGEST)
configure_file("${TEMPLATE}" "${SITE}/sw.js" @ONLY)
