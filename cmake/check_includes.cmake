# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source file includes across the layers: the core includes only core headers and
# the system's, the socket library only its own and core/common, the file codecs only core/common
# and one another, the views do not include the
# panes, and only the device layer and the application see the whole device. Run as a build step:
#   cmake -DSOURCE_DIR=<project> -DSTAMP=<file touched when all is well> -P check_includes.cmake

cmake_minimum_required(VERSION 3.25)

file(GLOB top_folders RELATIVE ${SOURCE_DIR}/src LIST_DIRECTORIES true ${SOURCE_DIR}/src/*)
list(FILTER top_folders EXCLUDE REGEX "\\.")

# A violation for each include line of the files under src/<folder> that `rule` rejects; with a
# third argument, only of the files whose names match that expression.
function(check_folder folder rule)
  file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/src/${folder}/*.h
    ${SOURCE_DIR}/src/${folder}/*.cpp)
  if(ARGC GREATER 2)
    list(FILTER files INCLUDE REGEX "/${ARGV2}\\.(h|cpp)$")
  endif()
  set(found "")
  foreach(file IN LISTS files)
    file(STRINGS ${SOURCE_DIR}/${file} lines REGEX "^[ \t]*#[ \t]*include")
    set(line_number 0)
    foreach(line IN LISTS lines)
      if(NOT line MATCHES "#[ \t]*include[ \t]*([<\"])([^>\"]*)")
        continue()
      endif()
      set(quoted FALSE)
      if(CMAKE_MATCH_1 STREQUAL "\"")
        set(quoted TRUE)
      endif()
      set(path "${CMAKE_MATCH_2}")
      set(first "")
      if(path MATCHES "^([^/]+)/")
        set(first "${CMAKE_MATCH_1}")
      endif()
      cmake_language(CALL ${rule} "${quoted}" "${path}" "${first}" reason)
      if(reason)
        list(APPEND found "${file}: #include ${path}: ${reason}")
      endif()
    endforeach()
  endforeach()
  set(violations ${violations} ${found} PARENT_SCOPE)
endfunction()

# The core: "core/..." and the system's headers, nothing from another folder of src/.
function(core_rule quoted path first out)
  set(${out} "" PARENT_SCOPE)
  if((quoted AND NOT first STREQUAL "core") OR (first IN_LIST top_folders AND NOT first STREQUAL "core"))
    set(${out} "the core includes only core headers" PARENT_SCOPE)
  endif()
endfunction()

# The file codecs: core/common and one another, nothing of the commands, the views or the device.
set(codecs "(bitmap_codec|bitmap_file|file_io|setting_file|wave_record)")
function(codec_rule quoted path first out)
  set(${out} "" PARENT_SCOPE)
  if(quoted AND NOT path MATCHES "^core/common/" AND NOT path MATCHES "^core/files/${codecs}\\.h$")
    set(${out} "the file codecs include only core/common and one another" PARENT_SCOPE)
  endif()
endfunction()

# The views: anything but the panes, which hold the views.
function(views_rule quoted path first out)
  set(${out} "" PARENT_SCOPE)
  if(first STREQUAL "panes")
    set(${out} "the views do not include the panes (shared pieces belong in src/widgets)" PARENT_SCOPE)
  endif()
endfunction()

# Everything but the device layer and the application: the pieces of the device it uses (the
# store, the selectors, the exchange it runs), handed over by the application.
function(device_rule quoted path first out)
  set(${out} "" PARENT_SCOPE)
  if(path STREQUAL "core/protocol/device.h")
    set(${out} "only src/app and src/core/protocol see the whole device, the rest take its pieces" PARENT_SCOPE)
  endif()
endfunction()

# The socket plumbing: itself, core/common and the system's headers.
function(socket_rule quoted path first out)
  set(${out} "" PARENT_SCOPE)
  if((quoted OR first IN_LIST top_folders) AND NOT path MATCHES "^(socket|core/common)/")
    set(${out} "the socket library includes only its own and core/common headers" PARENT_SCOPE)
  endif()
endfunction()

set(violations "")
check_folder(core core_rule)
check_folder(socket socket_rule)
check_folder(core/files codec_rule ${codecs})
check_folder(views views_rule)
file(GLOB core_folders RELATIVE ${SOURCE_DIR}/src LIST_DIRECTORIES true ${SOURCE_DIR}/src/core/*)
list(FILTER core_folders EXCLUDE REGEX "\\.|^core/protocol$")
set(device_users ${top_folders})
list(REMOVE_ITEM device_users app core)
foreach(folder IN LISTS device_users core_folders)
  check_folder(${folder} device_rule)
endforeach()
if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "Includes across the layers:\n  ${text}")
endif()
file(TOUCH ${STAMP})
