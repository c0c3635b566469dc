# Helpers shared by every folder: one static library per subsystem folder, one test program and one
# benchmark program per folder, all collected by globbing so a new file needs no CMake edit.

set(KV_SUBSYSTEMS platform core graphics animation task script media appdata adventure strategy game)

# kv_add_subsystem(<folder> [LIBS <third-party targets>...])
function(kv_add_subsystem folder)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/src/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/src/${folder}/*.c)
  if(NOT sources)
    set(stub ${CMAKE_BINARY_DIR}/stubs/kv_${folder}_empty.cpp)
    file(WRITE ${stub} "// ${folder} has no sources yet\n")
    set(sources ${stub})
  endif()
  add_library(kv_${folder} STATIC ${sources})
  target_include_directories(kv_${folder} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(kv_${folder} PUBLIC ${ARG_LIBS} Threads::Threads)
endfunction()

# Everything the engine is made of. The subsystems call each other both ways (the core object drives
# the task tree, the tasks log through the core), so the final link rescans the group.
function(kv_link_engine target)
  set(libs)
  foreach(s IN LISTS KV_SUBSYSTEMS)
    list(APPEND libs kv_${s})
  endforeach()
  list(JOIN libs "," joined)
  target_link_libraries(${target} PRIVATE "$<LINK_GROUP:RESCAN,${joined}>")
  foreach(s IN LISTS KV_SUBSYSTEMS)
    target_link_libraries(${target} PRIVATE $<TARGET_PROPERTY:kv_${s},INTERFACE_LINK_LIBRARIES>)
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/src)
  endforeach()
endfunction()
