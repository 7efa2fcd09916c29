# SPDX-License-Identifier: GPL-3.0-or-later
# What the player sees on machines unlike the developers': the faces the
# windows ask for with only the fonts the set-up installs (then with only the
# metric twins of the two named families), and the window on a screen with
# two device pixels to a pixel.
veltrano_add_qtest(tst_faces SOURCES ui/tst_faces.cpp LIBS veltrano_uitest_support)
target_link_libraries(tst_faces PRIVATE Fontconfig::Fontconfig)
add_test(NAME tst_faces_metric_twins_only COMMAND tst_faces)
set_tests_properties(tst_faces_metric_twins_only PROPERTIES ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen;VELTRANO_FONT_FAMILIES=Liberation")

veltrano_add_qtest(tst_hidpi SOURCES ui/tst_hidpi.cpp LIBS veltrano_uitest_support)
set_tests_properties(tst_hidpi PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=2")
