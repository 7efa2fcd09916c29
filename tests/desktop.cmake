# SPDX-License-Identifier: GPL-3.0-or-later
# What "cmake --install" lays out: validated by the desktop's own tools, and
# the installed launcher starting the game in the player's own folder.
add_test(NAME installed_desktop_game
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/desktop/installed.sh ${CMAKE_BINARY_DIR}
                 ${CMAKE_CURRENT_BINARY_DIR}/installed)
set_tests_properties(installed_desktop_game PROPERTIES TIMEOUT 60)
