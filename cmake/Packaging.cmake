# What installations carry besides the programs, and the Debian packages that
# scripts/package makes with CPack:
#   orbilux-build    (component cli)     the builder, the SWF player and the
#                                        builder's manual page, without Qt;
#   orbilux-rezoziv  (component window)  the window program, its menu entry,
#                                        icons, software-centre entry, manual
#                                        page and README; needs orbilux-build.
# The licence files (component licenses) go into share/doc/orbilux-rezoziv of
# a plain installation; the packages carry the same texts in their Debian
# copyright files.

set(ORBILUX_MAINTAINER "Orbilux Rezoziv developers <developers@orbilux.org>"
    CACHE STRING "The maintainer named in the Debian packages and their changelog")

install(FILES LICENSE DESTINATION ${ORBILUX_DOC_DIR} COMPONENT licenses)
if(NOT ORBILUX_CORE_ONLY)
  install(FILES README.md DESTINATION ${ORBILUX_DOC_DIR} COMPONENT window)
endif()

# Each package's copyright and changelog, in share/doc/<package>.
execute_process(COMMAND date -u -R -d "${ORBILUX_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE ORBILUX_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
configure_file(packaging/changelog.in ${PROJECT_BINARY_DIR}/packaging/changelog @ONLY)
set(changelog ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${changelog}
                   COMMAND gzip -9nc ${PROJECT_BINARY_DIR}/packaging/changelog > ${changelog}
                   DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog VERBATIM)
add_custom_target(orbilux_changelog ALL DEPENDS ${changelog})
function(orbilux_package_docs component package)
  install(FILES packaging/copyright ${changelog} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package}
          COMPONENT ${component})
endfunction()
orbilux_package_docs(cli orbilux-build)
set(CPACK_COMPONENTS_ALL cli)
if(NOT ORBILUX_CORE_ONLY)
  orbilux_package_docs(window orbilux-rezoziv)
  list(APPEND CPACK_COMPONENTS_ALL window)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orbilux-rezoziv)
set(CPACK_PACKAGE_VENDOR "The Orbilux Rezoziv developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${ORBILUX_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE orbilux-rezoziv)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link decide the other dependencies.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The window package depends on the builder's of the same version.
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_COMPONENT_WINDOW_DEPENDS cli)

set(CPACK_DEBIAN_CLI_PACKAGE_NAME orbilux-build)
set(CPACK_DEBIAN_CLI_DESCRIPTION "build turntable SWF movies from JPEG photos
orbilux-build turns a series of same-size JPEG photos, taken around an
object, into one SWF movie (version 9) in which the viewer turns the object
by dragging the mouse. The photos are embedded byte for byte; nothing is
re-encoded.

It takes pictures as files, whole folders or lists of paths (also from
find -print0), warns when the names are not in natural order and can sort
or reverse them, and reports to a terminal, a log or a script as asked.

This package needs no graphical toolkit, for servers and batch machines. It
also holds the SWF player (Ruffle) that plays the movies in a web page.
The window program is in the package orbilux-rezoziv.")

set(CPACK_DEBIAN_WINDOW_PACKAGE_NAME orbilux-rezoziv)
set(CPACK_DEBIAN_WINDOW_DESCRIPTION "make turntable SWF movies from JPEG photos in a window
Orbilux Rezoziv turns a series of same-size JPEG photos, taken around an
object, into one SWF movie (version 9) in which the viewer turns the object
by dragging the mouse.

Import the pictures one by one or a whole folder at a time, put them in
order in a strip of numbered thumbnails, build the movie and preview it in
the window, where the bundled SWF player plays it. The photos are embedded
byte for byte; nothing is re-encoded.

The command-line builder orbilux-build, which writes the same movies, comes
with this package as a dependency.")

include(CPack)
