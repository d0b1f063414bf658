# Adds every immediate subfolder of the current folder that has a CMakeLists.txt, so a new
# tool or demo needs no edit of a shared list.
function(mc_add_all_subdirectories)
  file(GLOB children LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(child ${children})
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
