# SPDX-License-Identifier: GPL-3.0-or-later
# A Debian package of what "cmake --install" lays out, under /usr. After a
# build:
#
#   cmake --build build --target package     # build/veltrano_VERSION_ARCH.deb
#
# Its dependencies are the libraries the game links against (found by
# dpkg-shlibdeps) and what the game loads without linking: the platform
# plug-ins and the fonts its windows ask for.
set(VELTRANO_MAINTAINER "Veltrano maintainers <maintainers@veltrano.example.org>"
    CACHE STRING "Who answers for the Debian package")

# A Debian package carries its copyright and changelog in its doc folder,
# the changelog compressed the reproducible way and dated with the build's
# one date (SOURCE_DATE_EPOCH, which string(TIMESTAMP) reads), not today's.
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/veltrano)
string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/changelog CONTENT
"veltrano (${PROJECT_VERSION}) unstable; urgency=medium

  * Version ${PROJECT_VERSION} of the game.

 -- ${VELTRANO_MAINTAINER}  ${changelog_date}
")
execute_process(COMMAND gzip -9nc ${CMAKE_CURRENT_BINARY_DIR}/changelog
                OUTPUT_FILE ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
        DESTINATION ${doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veltrano)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The same package from the same commit: every file in it dated with the
# build's one date, which cpack finds in its environment however the
# "package" target or a script starts it, and folders laid out with the same
# permissions whatever the builder's umask. The archive's three members
# alone take their permissions from cpack's umask, which CMake cannot set:
# cpack says so when it isn't the 022 that Debian's tools build under.
file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/cpack_date.cmake @ONLY CONTENT
"set(ENV{SOURCE_DATE_EPOCH} @VELTRANO_SOURCE_DATE_EPOCH@)
execute_process(COMMAND sh -c umask OUTPUT_VARIABLE umask OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT umask MATCHES \"^0*22$\")
    message(WARNING \"umask \${umask}: the package's members will carry it; \"
                    \"make it under umask 022 to get the same bytes as other builds\")
endif()
")
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_BINARY_DIR}/cpack_date.cmake)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "peg solitaire with marbles, in French")
set(CPACK_PACKAGE_DESCRIPTION
    "Jump one marble over its neighbour, along a row or a column, into the free
hole behind it: the marble jumped over leaves the board. The game is won
when one marble is left. Two boards: the traditional 33-hole cross and the
45-hole cross called Mission Impossible, against the chrono, with a top
ten and a saved game.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VELTRANO_MAINTAINER})
# Debian keeps section "games" for programs started from /usr/games; this
# one installs its launcher where "cmake --install" does, under bin/.
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VELTRANO_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The X platform plug-in and the fonts are loaded, not linked; a Wayland
# session is served natively when Qt's Wayland plug-in is there, and through
# XWayland otherwise.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation (>= 1:2) | fonts-liberation2, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
include(CPack)
