# velmora_library(<name> FOLDER <dir> [LINK <libs>...])
# A static library of every source in <dir>. Sources are found by glob so that a new unit
# needs no edit here.
function(velmora_library name)
    cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
                                        ${CMAKE_CURRENT_SOURCE_DIR}/*.h
                                        ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LINK})
endfunction()

# The libraries every test, benchmark and fuzz target links against.
set(VELMORA_ALL_LIBRARIES "" CACHE INTERNAL "")
function(velmora_register_library name)
    set(VELMORA_ALL_LIBRARIES ${VELMORA_ALL_LIBRARIES} ${name} CACHE INTERNAL "")
endfunction()
