# dist.cmake: what turns the build into an installed desktop program: the
# version header, the install rules (programs, help pages, examples,
# desktop entry, file type, icons, manual pages) and the Debian package.
#
# The installed tree keeps bin/ and share/ side by side: the program finds
# its help pages and examples relative to its own location
# (dist/datadir.cpp), so a prefix can be moved after installing.

set(DIST_OUT ${CMAKE_BINARY_DIR}/dist)
file(MAKE_DIRECTORY ${DIST_OUT})

# The version header is rewritten at every build when the git revision
# moved; only dist/version.cpp includes it.
add_custom_target(tessarin_version
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
          -DOUT=${DIST_OUT}/tessarin_version.h -DVERSION=${PROJECT_VERSION}
          -P ${CMAKE_SOURCE_DIR}/dist/version.cmake
  BYPRODUCTS ${DIST_OUT}/tessarin_version.h
  COMMENT "Checking the version and git revision")
add_dependencies(tessarin_core tessarin_version)
target_include_directories(tessarin_core PRIVATE ${DIST_OUT})

# A program run from the build folder finds its examples beside itself, as
# it finds html/ there.
if(TARGET tessarin)
  add_custom_command(TARGET tessarin POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_directory
            ${CMAKE_SOURCE_DIR}/examples $<TARGET_FILE_DIR:tessarin>/examples)
endif()

# Manual pages (with the version filled in, compressed as Debian wants them)
# and the package's changelog.
string(TIMESTAMP DIST_DATE "%Y-%m-%d" UTC)
set(DIST_GENERATED)
foreach(page tessarin.1 tessarin-cli.1 changelog)
  configure_file(${CMAKE_SOURCE_DIR}/dist/${page}.in ${DIST_OUT}/${page} @ONLY)
  add_custom_command(OUTPUT ${DIST_OUT}/${page}.gz
    COMMAND gzip -9nkf ${DIST_OUT}/${page}
    DEPENDS ${DIST_OUT}/${page}
    COMMENT "Compressing ${page}")
  list(APPEND DIST_GENERATED ${DIST_OUT}/${page}.gz)
endforeach()

# The icon is drawn once as SVG; the fixed sizes are rendered from it.
find_program(RSVG_CONVERT rsvg-convert)
set(DIST_ICON_SIZES 48 256)
if(RSVG_CONVERT)
  foreach(size ${DIST_ICON_SIZES})
    add_custom_command(OUTPUT ${DIST_OUT}/tessarin-${size}.png
      COMMAND ${RSVG_CONVERT} -w ${size} -h ${size}
              -o ${DIST_OUT}/tessarin-${size}.png
              ${CMAKE_SOURCE_DIR}/dist/tessarin.svg
      DEPENDS ${CMAKE_SOURCE_DIR}/dist/tessarin.svg
      COMMENT "Rendering the ${size}-pixel icon")
    list(APPEND DIST_GENERATED ${DIST_OUT}/tessarin-${size}.png)
  endforeach()
else()
  message(STATUS "rsvg-convert not found: only the scalable icon is installed")
endif()
add_custom_target(tessarin_dist ALL DEPENDS ${DIST_GENERATED})

# Install rules. Paths stay relative to the prefix so that cmake --install
# --prefix P, the Debian package and a moved prefix all agree.
foreach(program tessarin tessarin-cli)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION bin)
  endif()
endforeach()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/html/
        DESTINATION share/tessarin/html)
file(GLOB DIST_EXAMPLES ${CMAKE_SOURCE_DIR}/examples/*.T)
install(FILES ${DIST_EXAMPLES} DESTINATION share/tessarin/examples)
install(FILES ${CMAKE_SOURCE_DIR}/dist/tessarin.desktop
        DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/dist/tessarin-mime.xml
        DESTINATION share/mime/packages RENAME tessarin.xml)
install(FILES ${CMAKE_SOURCE_DIR}/dist/tessarin.svg
        DESTINATION share/icons/hicolor/scalable/apps)
if(RSVG_CONVERT)
  foreach(size ${DIST_ICON_SIZES})
    install(FILES ${DIST_OUT}/tessarin-${size}.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps
            RENAME tessarin.png)
  endforeach()
endif()
install(FILES ${DIST_OUT}/tessarin.1.gz ${DIST_OUT}/tessarin-cli.1.gz
        DESTINATION share/man/man1)
install(FILES ${CMAKE_SOURCE_DIR}/dist/copyright ${DIST_OUT}/changelog.gz
        DESTINATION share/doc/tessarin)

# The Debian package: cpack -G DEB in the build folder.
set(CPACK_PACKAGE_NAME tessarin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tessarin developers")
set(CPACK_PACKAGE_CONTACT "Tessarin developers <tessarin@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "interactive plane geometry with live construction")
# The long description; CPack puts the summary above it and indents it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Tessarin builds diagrams of plane geometry from free points and
construction rules: lines, perpendiculars, intersections, circles through
or tangent to given objects, inversions, conics, Bezier curves, polygons,
angles and computed numbers. Dragging a free point recomputes the whole
figure at once.

Diagrams are kept as plain text in the program's own language and can be
edited in the built-in editor. The program exports EPS, animates scripts,
steps through proofs by layers and finds the relations that hold while a
figure moves. The package also holds tessarin-cli, which checks, formats,
exports and analyses diagrams without a display.")
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
include(CPack)
