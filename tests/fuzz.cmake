# SPDX-License-Identifier: GPL-3.0-or-later
# Each reader of the game's files as a fuzz target in the standard form
# (fuzz/*Target.cpp), with a seed corpus of real and damaged records
# (fuzz/corpus/<reader>). In the suite a driver of our own replays the corpus
# and a fixed number of mutations of it under the sanitizers; with
# VELTRANO_LIBFUZZER (clang only, see tools/fuzz_long.sh) the same targets are
# linked with libFuzzer instead, for a coverage-guided run.
option(VELTRANO_LIBFUZZER "Link the fuzz targets with libFuzzer (clang)" OFF)

# veltrano_add_fuzz_target(name TARGET source INPUTS n LIBS ...): n mutations
# keep the test to a few seconds under the sanitizers on a busy machine.
function(veltrano_add_fuzz_target name)
    cmake_parse_arguments(ARG "" "TARGET;INPUTS" "LIBS" ${ARGN})
    set(corpus ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus/${name})
    if(VELTRANO_LIBFUZZER)
        # Run by tools/fuzz_long.sh rather than CTest: libFuzzer runs until
        # it is stopped. Everything the target links is instrumented too.
        list(APPEND VELTRANO_SANITIZE_COMPILE -fsanitize=fuzzer-no-link)
        veltrano_twins_of(libraries ${ARG_LIBS})
        qt_add_executable(fuzz_${name} fuzz/${ARG_TARGET})
        target_compile_options(fuzz_${name} PRIVATE ${VELTRANO_SANITIZE_COMPILE})
        target_link_options(fuzz_${name} PRIVATE ${VELTRANO_SANITIZE} -fsanitize=fuzzer)
        target_link_libraries(fuzz_${name} PRIVATE ${libraries})
    else()
        veltrano_add_sanitized_test(fuzz_${name} SOURCES fuzz/${ARG_TARGET} fuzz/driver.cpp
                                    LIBS ${ARG_LIBS})
        target_compile_definitions(fuzz_${name} PRIVATE VELTRANO_FUZZ_CORPUS="${corpus}"
                                   VELTRANO_FUZZ_INPUTS=${ARG_INPUTS})
        set_tests_properties(fuzz_${name} PROPERTIES TIMEOUT 120)
    endif()
    target_include_directories(fuzz_${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz)
endfunction()

veltrano_add_fuzz_target(settings TARGET SettingsTarget.cpp INPUTS 80000
                         LIBS veltrano_storage)
veltrano_add_fuzz_target(saved_game TARGET SavedGameTarget.cpp INPUTS 15000
                         LIBS veltrano_uitest_support)
veltrano_add_fuzz_target(help TARGET HelpTarget.cpp INPUTS 12000
                         LIBS veltrano_platform Qt6::Gui)
