# Headers from outside the project that most units include, compiled once per library (and once
# for each group of programs) instead of once per source file. Only platform headers: they never
# change while someone works, so the precompiled headers are not rebuilt by ordinary edits. A
# Qt module's headers are used by the targets that link that module.
set(VELMORA_STD_HEADERS <algorithm> <functional> <map> <memory> <set> <string> <utility> <vector>)
set(VELMORA_QT_CORE_HEADERS <QByteArray> <QCoreApplication> <QDir> <QFile> <QFileInfo> <QList>
                            <QMap> <QMetaType> <QObject> <QPointer> <QRect> <QSize> <QString>
                            <QStringList> <QTemporaryDir> <QVariant> <QXmlStreamReader>
                            <QXmlStreamWriter>)
set(VELMORA_QT_GUI_HEADERS <QColor> <QIcon> <QImage> <QPainter> <QPixmap>)
set(VELMORA_QT_QUICK_HEADERS <QQmlContext> <QQmlEngine> <QQuickItem>)

# velmora_precompile(<target> <linked libraries>...)
# Gives the target the precompiled headers that fit the libraries it links.
function(velmora_precompile target)
    set(headers ${VELMORA_STD_HEADERS} ${VELMORA_QT_CORE_HEADERS})
    if("Qt6::Gui" IN_LIST ARGN)
        list(APPEND headers ${VELMORA_QT_GUI_HEADERS})
    endif()
    if("Qt6::Quick" IN_LIST ARGN)
        list(APPEND headers ${VELMORA_QT_QUICK_HEADERS})
    endif()
    target_precompile_headers(${target} PRIVATE ${headers})
endfunction()

# The precompiled Qt headers define "slots", "signals", "emit", "foreach" and "forever" as
# macros. A source that includes no Qt header itself and uses one of these words outside
# comments, as a name, is compiled without them.
function(velmora_spare_qt_keywords)
    foreach(source ${ARGN})
        file(STRINGS ${source} keywords REGEX
             "^([^/]*[^A-Za-z0-9_/])?(slots|signals|emit|foreach|forever)([^A-Za-z0-9_]|$)")
        file(STRINGS ${source} qt_includes REGEX "^#include <Q")
        if(keywords AND NOT qt_includes)
            set_source_files_properties(${source} PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
        endif()
    endforeach()
endfunction()

# velmora_library(<name> [LINK <libs>...] [EXCLUDE <file names>...])
# A static library of every source in the current folder but the excluded ones (a program's own
# main, say). Sources are found by glob so that a new unit needs no edit here.
function(velmora_library name)
    cmake_parse_arguments(ARG "" "" "LINK;EXCLUDE" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
                                        ${CMAKE_CURRENT_SOURCE_DIR}/*.h
                                        ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
    foreach(excluded ${ARG_EXCLUDE})
        list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
    endforeach()
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
    # Compiling the headers costs about as much as two source files: worth it from four up.
    list(FILTER sources INCLUDE REGEX "\\.cpp$")
    list(LENGTH sources count)
    if(count GREATER_EQUAL 4)
        velmora_precompile(${name} ${ARG_LINK})
    endif()
endfunction()

# The libraries every test, benchmark and fuzz target links against.
set(VELMORA_ALL_LIBRARIES "" CACHE INTERNAL "")
function(velmora_register_library name)
    set(VELMORA_ALL_LIBRARIES ${VELMORA_ALL_LIBRARIES} ${name} CACHE INTERNAL "")
endfunction()

# velmora_program(<name> SOURCES <files>... OUTPUT <folder> [LINK <libs>...]
#                 [PRECOMPILED_FROM <target>])
# A program linked with every library. It runs from <folder> beside Resources/, so it depends on
# the target that makes that folder. With PRECOMPILED_FROM it uses the precompiled headers of
# that target (which must have the same compile options). The code generator (moc) runs only
# for programs whose sources declare Qt objects.
function(velmora_program name)
    cmake_parse_arguments(ARG "" "OUTPUT;PRECOMPILED_FROM" "SOURCES;LINK" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${VELMORA_ALL_LIBRARIES} ${ARG_LINK})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ARG_OUTPUT})
    add_dependencies(${name} velmora_bundle)
    set(declares_objects OFF)
    foreach(source ${ARG_SOURCES})
        file(STRINGS ${source} found REGEX "Q_OBJECT|Q_GADGET|Q_NAMESPACE|\\.moc\"")
        if(found)
            set(declares_objects ON)
        endif()
    endforeach()
    velmora_spare_qt_keywords(${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES AUTOMOC ${declares_objects})
    if(ARG_PRECOMPILED_FROM)
        target_precompile_headers(${name} REUSE_FROM ${ARG_PRECOMPILED_FROM})
    endif()
endfunction()
