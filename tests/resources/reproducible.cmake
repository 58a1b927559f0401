# Checks that the generated resources come out the same on every run: every drawing script,
# run into a scratch folder, gives the committed pictures byte for byte, and the theme program,
# run twice, gives the built-in theme bundles of the build byte for byte.
#
#   cmake -DPYTHON=<python3> -DSOURCE_DIR=<repository> -DMAKER=<velmora_theme_maker>
#         -DRESOURCES_DIR=<build>/Resources -DDATE=<SOURCE_DATE_EPOCH> -DSCRATCH=<folder>
#         -P reproducible.cmake

file(REMOVE_RECURSE ${SCRATCH})
set(failures 0)

function(check_same expected actual)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${expected} ${actual}
                    RESULT_VARIABLE different)
    if(different)
        message(SEND_ERROR "${actual} differs from ${expected}")
    endif()
endfunction()

# Every drawing script (relative to the repository) and the folder of its committed pictures.
# Each takes the folder to draw into as its one argument.
set(scripts
    "gui/icons/draw_icons.py|gui/icons"
    "gui/launch_icons/draw_launch_icons.py|gui/launch_icons"
    "gui/property_editor/draw_icons.py|gui/property_editor"
    "main/icons/draw_action_icons.py|main/icons/22x22"
    "main/images/draw_launch_header.py|main/images"
    "main/images/draw_splash.py|main/images"
    "resources/theme/draw_theme_images.py|resources/theme"
    "scripts/make_resource_images.py|resources/images"
    "widgets/icons/draw_close_icon.py|widgets/icons/16x16"
    "widgets/icons/draw_copy_icon.py|widgets/icons"
    "widgets/icons/draw_loader_animation.py|widgets/icons"
    "widgets/icons/draw_refresh_icon.py|widgets/icons/22x22"
    "widgets/theme_editor/icons/draw_icons.py|widgets/theme_editor/icons")
set(index 0)
foreach(entry ${scripts})
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 script)
    list(GET entry 1 committed)
    set(out ${SCRATCH}/drawn${index})
    math(EXPR index "${index} + 1")
    execute_process(COMMAND ${PYTHON} ${SOURCE_DIR}/${script} ${out} RESULT_VARIABLE failed)
    if(failed)
        message(SEND_ERROR "${script} failed")
        continue()
    endif()
    file(GLOB_RECURSE drawn RELATIVE ${out} ${out}/*.png ${out}/*.gif)
    list(LENGTH drawn count)
    if(count EQUAL 0)
        message(SEND_ERROR "${script} drew nothing")
    endif()
    foreach(picture ${drawn})
        check_same(${SOURCE_DIR}/${committed}/${picture} ${out}/${picture})
    endforeach()
endforeach()

foreach(run 1 2)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${DATE}
                            ASAN_OPTIONS=detect_leaks=0
                            ${MAKER} ${SOURCE_DIR}/resources/theme ${SCRATCH}/themes${run}
                    RESULT_VARIABLE failed)
    if(failed)
        message(SEND_ERROR "the theme program failed")
    endif()
endforeach()
file(GLOB bundles RELATIVE ${RESOURCES_DIR}/theme ${RESOURCES_DIR}/theme/*.qvt)
list(LENGTH bundles count)
if(count LESS 2)
    message(SEND_ERROR "fewer than two built-in themes in ${RESOURCES_DIR}/theme")
endif()
foreach(bundle ${bundles})
    check_same(${RESOURCES_DIR}/theme/${bundle} ${SCRATCH}/themes1/${bundle})
    check_same(${RESOURCES_DIR}/theme/${bundle} ${SCRATCH}/themes2/${bundle})
endforeach()
file(REMOVE_RECURSE ${SCRATCH})
