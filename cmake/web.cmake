# The web version: the bridge linked into a WebAssembly module (orvane.js and orvane.wasm) and
# the static site around it in ${CMAKE_BINARY_DIR}/site, which any web server can host.
if(NOT EMSCRIPTEN)
  message(FATAL_ERROR "ORVANE_WEB builds with emscripten: emcmake cmake -S . -B build-web "
    "-DORVANE_WEB=ON")
endif()

set(ORVANE_SITE ${CMAKE_BINARY_DIR}/site)

add_executable(orvane-wasm ${PROJECT_SOURCE_DIR}/src/web/bridge.cpp)
target_link_libraries(orvane-wasm PRIVATE orvane-web)
set_target_properties(orvane-wasm PROPERTIES OUTPUT_NAME orvane
  RUNTIME_OUTPUT_DIRECTORY ${ORVANE_SITE}
  # emscripten's JavaScript passes need acorn, which Debian installs where only Debian's own
  # Node.js looks (a Node.js from elsewhere is told).
  CXX_LINKER_LAUNCHER "${CMAKE_COMMAND};-E;env;NODE_PATH=/usr/share/nodejs")
target_link_options(orvane-wasm PRIVATE
  # A factory the page imports: import createOrvane from './orvane.js'.
  -sMODULARIZE=1 -sEXPORT_ES6=1 -sEXPORT_NAME=createOrvane -sENVIRONMENT=web
  -sALLOW_MEMORY_GROWTH=1
  # The page lays out the question files and keeps speech.ini in the browser's storage.
  -sFORCE_FILESYSTEM=1 -lidbfs.js
  "-sEXPORTED_RUNTIME_METHODS=['ccall','UTF8ToString','FS','allocateUTF8']"
  # The core speaks through the page's JavaScript: no thread, and no console of its own.
  -sEXIT_RUNTIME=0
)

# The site: the page, its scripts and styles, the example lesson, the help, the icons, and a
# service worker that knows every file of this build by a version made from their contents.
file(GLOB_RECURSE ORVANE_WEB_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/web/*)
set(ORVANE_SITE_DATA
  ${PROJECT_SOURCE_DIR}/examples/toi.dat
  ${PROJECT_SOURCE_DIR}/examples/speech.ini
  ${PROJECT_SOURCE_DIR}/data/orvane.hlp)
add_custom_command(OUTPUT ${ORVANE_SITE}/sw.js
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR} -DSITE=${ORVANE_SITE}
    -P ${PROJECT_SOURCE_DIR}/cmake/web_site.cmake
  DEPENDS orvane-wasm ${ORVANE_WEB_FILES} ${ORVANE_SITE_DATA}
    ${PROJECT_SOURCE_DIR}/cmake/web_site.cmake
  COMMENT "Laying out the web site")
add_custom_target(orvane-site ALL DEPENDS ${ORVANE_SITE}/sw.js)
