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

# Crafted help files through the reader and the page layout, sanitized.
veltrano_add_sanitized_test(test_help_fuzz SOURCES platform/HelpFuzzTest.cpp
                            LIBS veltrano_platform Qt6::Gui)
set_tests_properties(test_help_fuzz PROPERTIES TIMEOUT 120)
