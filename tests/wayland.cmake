# The game as a native Wayland client on a private, headless weston.
add_executable(tst_wayland wayland/tst_wayland.cpp)
target_link_libraries(tst_wayland PRIVATE veltrano_uitest_support Qt6::Test)
add_test(NAME wayland_game
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/wayland/run.sh $<TARGET_FILE:veltrano>
                 $<TARGET_FILE:tst_wayland> ${CMAKE_CURRENT_BINARY_DIR})
# The script stops its own weston and game on every way out; its waits are
# bounded well inside this limit.
set_tests_properties(wayland_game PROPERTIES TIMEOUT 90 LABELS wayland)
