# Runs one scenario script through orvane-sim in a fresh folder and compares its transcript
# with the expected one, line for line.
#
# Lines of the script that begin with "#!" prepare the folder (the runner reads them as
# comments):
#   #! copy DATA_FILE [NAME]     copy a file from the data folder (under NAME)
#   #! mkdir NAME                make a folder
#   #! mkfifo NAME               make a FIFO that nobody writes to
#   #! readonly                  make the folder read-only before the run
#   #! expect-file NAME DATA     after the run, NAME must hold exactly the bytes of DATA
#   #! expect-missing NAME       after the run, NAME must not exist
# Variables: SIM, SCRIPT, EXPECTED, DATA, WORK.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(STRINGS "${SCRIPT}" directives REGEX "^#! ")
set(make_readonly OFF)
set(checks "")
foreach(line IN LISTS directives)
  string(REGEX REPLACE "^#! +" "" line "${line}")
  separate_arguments(args UNIX_COMMAND "${line}")
  list(GET args 0 what)
  if(what STREQUAL "copy")
    list(GET args 1 src)
    list(LENGTH args n)
    if(n GREATER 2)
      list(GET args 2 dest)
    else()
      get_filename_component(dest "${src}" NAME)
    endif()
    file(COPY_FILE "${DATA}/${src}" "${WORK}/${dest}")
  elseif(what STREQUAL "mkdir")
    list(GET args 1 dir)
    file(MAKE_DIRECTORY "${WORK}/${dir}")
  elseif(what STREQUAL "mkfifo")
    list(GET args 1 fifo)
    execute_process(COMMAND mkfifo "${WORK}/${fifo}" RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "cannot make the FIFO ${fifo}")
    endif()
  elseif(what STREQUAL "readonly")
    set(make_readonly ON)
  elseif(what STREQUAL "expect-file" OR what STREQUAL "expect-missing")
    list(APPEND checks "${line}")
  else()
    message(FATAL_ERROR "${SCRIPT}: unknown directive '${line}'")
  endif()
endforeach()

if(make_readonly)
  # Root ignores folder permissions, so the run is made as an unprivileged user then.
  execute_process(COMMAND chmod a-w,a+rx "${WORK}")
  execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(uid STREQUAL "0")
    set(runner setpriv --reuid=65534 --regid=65534 --clear-groups)
  endif()
endif()

execute_process(
  COMMAND ${runner} "${SIM}" "${SCRIPT}"
  WORKING_DIRECTORY "${WORK}"
  OUTPUT_VARIABLE actual
  ERROR_VARIABLE errors
  RESULT_VARIABLE rc)
if(make_readonly)
  execute_process(COMMAND chmod u+w "${WORK}")
endif()
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "orvane-sim failed (${rc}): ${errors}\n${actual}")
endif()

# The help file lies beside the program, wherever it was built: the transcript names that folder
# @BIN@.
get_filename_component(bin "${SIM}" DIRECTORY)
string(REPLACE "${bin}/" "@BIN@/" actual "${actual}")

file(READ "${EXPECTED}" expected)
if(NOT actual STREQUAL expected)
  file(WRITE "${WORK}/actual.out" "${actual}")
  execute_process(COMMAND diff -u "${EXPECTED}" "${WORK}/actual.out" OUTPUT_VARIABLE diff)
  message(FATAL_ERROR "transcript differs from ${EXPECTED}:\n${diff}")
endif()

foreach(line IN LISTS checks)
  separate_arguments(args UNIX_COMMAND "${line}")
  list(GET args 0 what)
  list(GET args 1 name)
  if(what STREQUAL "expect-missing")
    if(EXISTS "${WORK}/${name}")
      message(FATAL_ERROR "${name} should not exist after the run")
    endif()
  else()
    list(GET args 2 data)
    file(SHA256 "${WORK}/${name}" got)
    file(SHA256 "${DATA}/${data}" want)
    if(NOT got STREQUAL want)
      file(READ "${WORK}/${name}" bytes HEX)
      message(FATAL_ERROR "${name} does not hold the bytes of ${data}; it holds ${bytes}")
    endif()
  endif()
endforeach()
