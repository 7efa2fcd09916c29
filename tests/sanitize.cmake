# SPDX-License-Identifier: GPL-3.0-or-later
# Twins of the game's own libraries built under the address and
# undefined-behaviour sanitizers, for the tests that feed damaged and crafted
# files through the real readers. veltrano_sanitized_twin(veltrano_storage)
# defines veltrano_storage_asan, and the twins of whatever game library it
# links; an executable that links a twin is sanitized too. Qt itself and the
# drawn pictures are linked as they are.

# The libraries to link in place of the given ones: the game's own become
# their sanitized twins (made on first use), anything else stays as it is.
function(veltrano_twins_of result)
    set(twinned)
    foreach(library IN LISTS ARGN)
        if(library MATCHES "^veltrano_" AND NOT library STREQUAL "veltrano_pictures")
            veltrano_sanitized_twin(${library})
            list(APPEND twinned ${library}_asan)
        else()
            list(APPEND twinned ${library})
        endif()
    endforeach()
    set(${result} ${twinned} PARENT_SCOPE)
endfunction()

function(veltrano_sanitized_twin target)
    if(TARGET ${target}_asan)
        return()
    endif()
    get_target_property(sources ${target} SOURCES)
    get_target_property(source_dir ${target} SOURCE_DIR)
    list(TRANSFORM sources PREPEND ${source_dir}/ REGEX "^[^/]")
    get_target_property(includes ${target} INCLUDE_DIRECTORIES)
    get_target_property(libraries ${target} LINK_LIBRARIES)
    if(NOT libraries)
        set(libraries) # a library that links nothing, such as the rules
    endif()
    veltrano_twins_of(twinned ${libraries})
    qt_add_library(${target}_asan STATIC ${sources})
    # A source the original compiles on its own stays on its own here too.
    foreach(source IN LISTS sources)
        get_source_file_property(alone ${source} DIRECTORY ${source_dir} SKIP_UNITY_BUILD_INCLUSION)
        if(alone)
            set_source_files_properties(${source} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
        endif()
    endforeach()
    target_include_directories(${target}_asan PUBLIC ${includes})
    target_link_libraries(${target}_asan PUBLIC ${twinned})
    target_compile_options(${target}_asan PRIVATE ${VELTRANO_SANITIZE_COMPILE})
    target_compile_definitions(${target}_asan PRIVATE _GLIBCXX_ASSERTIONS)
    target_link_options(${target}_asan INTERFACE ${VELTRANO_SANITIZE})
    get_target_property(pch ${target} PRECOMPILE_HEADERS_REUSE_FROM)
    if(pch)
        target_precompile_headers(${target}_asan REUSE_FROM veltrano_pch_game_sanitized)
    endif()
endfunction()

# A sanitized test executable: its own sources sanitized, linked with the
# twins of the game libraries it names. Runs offscreen like the other tests,
# and stops at the first sanitizer report.
function(veltrano_add_sanitized_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    veltrano_twins_of(libraries ${ARG_LIBS})
    qt_add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE ${VELTRANO_SANITIZE_COMPILE})
    target_compile_definitions(${name} PRIVATE _GLIBCXX_ASSERTIONS)
    target_link_options(${name} PRIVATE ${VELTRANO_SANITIZE})
    target_link_libraries(${name} PRIVATE ${libraries})
    # The sanitized programs read the test library's header themselves: a
    # header of their own would cost more than it saves.
    target_precompile_headers(${name} REUSE_FROM veltrano_pch_game_sanitized)
    veltrano_skip_pch_for_empty_moc(${name})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT
        "QT_QPA_PLATFORM=offscreen;UBSAN_OPTIONS=print_stacktrace=1;ASAN_OPTIONS=detect_leaks=0")
endfunction()
