# velmora_library(<name> [LINK <libs>...])
# A static library of every source in the current folder. Sources are found by glob so that a new unit
# needs no edit here.
function(velmora_library name)
    cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
                                        ${CMAKE_CURRENT_SOURCE_DIR}/*.h
                                        ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
    add_library(${name} STATIC ${sources})
    # The code-generator step (moc) does not notice a header added to the glob: when the list
    # of sources changes, drop its time stamp so that it runs again.
    string(REPLACE ";" "\n" source_list "${sources}")
    set(list_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_sources.txt)
    set(previous_list "")
    if(EXISTS ${list_file})
        file(READ ${list_file} previous_list)
    endif()
    if(NOT previous_list STREQUAL "${source_list}\n")
        file(WRITE ${list_file} "${source_list}\n")
        file(REMOVE ${CMAKE_CURRENT_BINARY_DIR}/${name}_autogen/timestamp)
    endif()
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LINK})
endfunction()

# The libraries every test, benchmark and fuzz target links against.
set(VELMORA_ALL_LIBRARIES "" CACHE INTERNAL "")
function(velmora_register_library name)
    set(VELMORA_ALL_LIBRARIES ${VELMORA_ALL_LIBRARIES} ${name} CACHE INTERNAL "")
endfunction()
