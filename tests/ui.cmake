# SPDX-License-Identifier: GPL-3.0-or-later
# Tests that drive the real main window offscreen, as a player would.
qt_add_library(veltrano_uitest_support STATIC ui/GameWindow.cpp)
target_include_directories(veltrano_uitest_support PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/ui)
target_link_libraries(veltrano_uitest_support PUBLIC veltrano_ui veltrano_test_model Qt6::Test)
target_precompile_headers(veltrano_uitest_support REUSE_FROM veltrano_pch_test)

foreach(name tst_mainwindow_layout tst_mainwindow_close tst_play tst_chrono_looks tst_saved_game)
    veltrano_add_qtest(${name} SOURCES ui/${name}.cpp LIBS veltrano_uitest_support)
endforeach()
# F1 and "Aide" on the real main window, and where the help stands.
veltrano_add_qtest(tst_help_keys SOURCES ui/tst_help_keys.cpp LIBS veltrano_uitest_support)

# The game itself, started offscreen and ended as a session ends it.
veltrano_add_qtest(tst_main_offscreen SOURCES ui/tst_main_offscreen.cpp NO_PCH)
set_tests_properties(tst_main_offscreen PROPERTIES ENVIRONMENT
                     "QT_QPA_PLATFORM=offscreen;VELTRANO_GAME=$<TARGET_FILE:veltrano>")
add_dependencies(tst_main_offscreen veltrano)
