# SPDX-License-Identifier: GPL-3.0-or-later
# The help viewer and the help file that goes with the game.
veltrano_add_qtest(test_help_file SOURCES platform/HelpFileTest.cpp LIBS veltrano_platform)
veltrano_add_qtest(test_help_viewer SOURCES platform/HelpViewerTest.cpp platform/OpenWatch.cpp
                  LIBS veltrano_platform)

# The shipped help is checked both where it is written and where the game
# reads it.
target_compile_definitions(
    test_help_file PRIVATE VELTRANO_HELP_SOURCE="${CMAKE_SOURCE_DIR}/assets/DOC.HLP"
                           VELTRANO_HELP_COPY="${CMAKE_BINARY_DIR}/partie/DOC.HLP")
add_dependencies(test_help_file veltrano_help)

