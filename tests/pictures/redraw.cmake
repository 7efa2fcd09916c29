# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the pictures again into SCRATCH and compares every file with DRAWN.
file(REMOVE_RECURSE ${SCRATCH})
execute_process(COMMAND ${GENERATOR} ${SCRATCH} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "the generator failed: ${status}")
endif()
# Every picture of the second drawing must stand, byte for byte, among the
# first (which may also hold leftovers of an older generator).
file(GLOB_RECURSE redrawn RELATIVE ${SCRATCH} ${SCRATCH}/*.png ${SCRATCH}/*.bmp)
list(LENGTH redrawn count)
if(count LESS 50)
    message(FATAL_ERROR "only ${count} pictures drawn:\n${redrawn}")
endif()
foreach(name IN LISTS redrawn)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${DRAWN}/${name} ${SCRATCH}/${name}
                    RESULT_VARIABLE differs)
    if(differs)
        message(FATAL_ERROR "${name} came out different the second time")
    endif()
endforeach()
file(REMOVE_RECURSE ${SCRATCH})
