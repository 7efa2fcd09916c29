# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package made from this build, installed with apt-get, run and
# removed again. It needs root (CI runs as root on a throwaway machine) and
# is skipped elsewhere.
add_test(NAME debian_package
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/desktop/deb.sh ${CMAKE_BINARY_DIR}
                 ${CMAKE_CURRENT_BINARY_DIR}/package)
# It installs into /usr while the other installed-files test reads its own
# prefix; apt's lock allows one at a time anyway.
set_tests_properties(debian_package PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77 RUN_SERIAL TRUE)
