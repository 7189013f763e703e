# Lays out the static site beside the module the build made (orvane.js, orvane.wasm): the page
# from web/, the example lesson and speech.ini, the help; then the service worker, which caches
# exactly these files under a version made from their contents, so a new build replaces the old
# one in every browser that had it. Variables: SOURCE, SITE.
cmake_minimum_required(VERSION 3.25)

file(COPY ${SOURCE}/web/ DESTINATION ${SITE} PATTERN "sw.js.in" EXCLUDE)
file(COPY ${SOURCE}/examples/toi.dat ${SOURCE}/examples/speech.ini DESTINATION ${SITE}/examples)
file(COPY ${SOURCE}/data/orvane.hlp DESTINATION ${SITE})

file(GLOB_RECURSE files RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM files sw.js)
list(SORT files)
set(version "")
set(list "")
foreach(f IN LISTS files)
  file(SHA256 ${SITE}/${f} hash)
  string(APPEND version "${f}:${hash}\n")
  string(APPEND list "  './${f}',\n")
endforeach()
string(SHA256 version "${version}")
string(SUBSTRING ${version} 0 16 ORVANE_SITE_VERSION)
set(ORVANE_SITE_FILES "${list}")
configure_file(${SOURCE}/web/sw.js.in ${SITE}/sw.js @ONLY)
