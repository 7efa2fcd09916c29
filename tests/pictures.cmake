# SPDX-License-Identifier: GPL-3.0-or-later
# The game's pictures: that they reach an executable through a library that
# links them (as the main window's library does), and that they fit the way
# the game lays them out.
qt_add_library(veltrano_pictures_probe STATIC pictures/probe.cpp)
target_include_directories(veltrano_pictures_probe PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/pictures)
target_link_libraries(veltrano_pictures_probe PUBLIC Qt6::Gui veltrano_pictures)

veltrano_add_qtest(pictures_test NO_PCH
    SOURCES pictures/tst_pictures.cpp
    LIBS veltrano_pictures_probe veltrano_core)

# Drawing twice gives the same bytes: nothing depends on the clock or on an
# unseeded generator.
add_test(NAME pictures_repeatable
         COMMAND ${CMAKE_COMMAND}
                 -DGENERATOR=$<TARGET_FILE:veltrano_drawpictures>
                 -DDRAWN=${CMAKE_BINARY_DIR}/assets/drawn
                 -DSCRATCH=${CMAKE_CURRENT_BINARY_DIR}/pictures_redrawn
                 -P ${CMAKE_CURRENT_SOURCE_DIR}/pictures/redraw.cmake)
set_tests_properties(pictures_repeatable PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
