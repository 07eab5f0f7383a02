# SPDX-License-Identifier: GPL-3.0-or-later
# The layering, checked by the build: which folders may include which (check_includes.cmake, run
# whenever a checked source changes) and which libraries may link which (at configure time).

file(GLOB_RECURSE korvelane_checked_sources CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/src/core/*.h ${PROJECT_SOURCE_DIR}/src/core/*.cpp
  ${PROJECT_SOURCE_DIR}/src/socket/*.h ${PROJECT_SOURCE_DIR}/src/socket/*.cpp
  ${PROJECT_SOURCE_DIR}/src/views/*.h ${PROJECT_SOURCE_DIR}/src/views/*.cpp)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/layering.stamp
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
    -DSTAMP=${PROJECT_BINARY_DIR}/layering.stamp -P ${CMAKE_CURRENT_LIST_DIR}/check_includes.cmake
  DEPENDS ${korvelane_checked_sources} ${CMAKE_CURRENT_LIST_DIR}/check_includes.cmake
  COMMENT "Checking the includes across the layers"
  VERBATIM)
add_custom_target(korvelane_layering ALL DEPENDS ${PROJECT_BINARY_DIR}/layering.stamp)

# Fails the configuration when `target` links any of the `forbidden` targets, directly or
# through the libraries it links.
function(korvelane_forbid_links target)
  set(queue ${target})
  set(seen "")
  while(queue)
    list(POP_FRONT queue current)
    if(current IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${current})
    get_target_property(aliased ${current} ALIASED_TARGET)
    if(aliased)
      list(APPEND queue ${aliased})
      continue()
    endif()
    get_target_property(imported ${current} IMPORTED)
    if(imported)
      continue()
    endif()
    foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
      get_target_property(libraries ${current} ${property})
      if(NOT libraries)
        continue()
      endif()
      foreach(library IN LISTS libraries)
        string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" library "${library}")
        if(library IN_LIST ARGN)
          message(FATAL_ERROR "${target} must not link ${library}, but links it through ${current}")
        endif()
        if(TARGET ${library})
          list(APPEND queue ${library})
        endif()
      endforeach()
    endforeach()
  endwhile()
endfunction()
