# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end tests of the real game on a private Xvfb, driven by synthesized
# X input (xdotool) and checked from outside: screen pixels and the X cursor.
find_package(X11 REQUIRED)
if(NOT X11_Xfixes_FOUND)
    message(FATAL_ERROR "The end-to-end tests need the XFixes library (libxfixes-dev)")
endif()

add_executable(traditional_solver x11/traditional_solver.cpp)
target_link_libraries(traditional_solver PRIVATE veltrano_core veltrano_test_model)

add_executable(x11probe x11/x11probe.cpp)
target_link_libraries(x11probe PRIVATE X11::X11 X11::Xfixes)
# Plain C++ helpers: nothing for moc or uic to look at.
set_target_properties(traditional_solver x11probe PROPERTIES AUTOMOC OFF AUTOUIC OFF)

foreach(mode game cursors)
    if(mode STREQUAL game)
        set(name e2e_traditional_game)
    else()
        set(name e2e_cursors)
    endif()
    add_test(NAME ${name}
             COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/x11/e2e.sh ${mode} $<TARGET_FILE:veltrano>
                     $<TARGET_FILE:traditional_solver> $<TARGET_FILE:x11probe>
                     ${CMAKE_CURRENT_BINARY_DIR})
    # The script stops its own Xvfb and game on every way out; its waits
    # are bounded well inside this limit.
    set_tests_properties(${name} PROPERTIES TIMEOUT 90 SKIP_RETURN_CODE 77 LABELS x11)
endforeach()
