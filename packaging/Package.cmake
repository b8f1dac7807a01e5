# The Debian package (cpack -G DEB in the build folder): the executables in /usr/bin, the
# desktop entry, icons, metainfo, manual pages and the Debian documents. Its install rules form
# the component "package", left out of a plain "cmake --install", which keeps installing the
# application folder (the README's build).
include(GNUInstallDirs)
set(zorva_id org.example.zorva.Zorva)
set(here ${CMAKE_CURRENT_LIST_DIR})
set(out ${CMAKE_BINARY_DIR}/packaging)
set(package COMPONENT package EXCLUDE_FROM_ALL)

install(TARGETS zorva zorva-initdb ZorvaMon RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} ${package})
install(FILES ${here}/${zorva_id}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications ${package})
install(FILES ${here}/${zorva_id}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo ${package})
# The PNGs are rendered from the SVG and committed (rsvg-convert -w N -h N), so that the build
# needs no SVG renderer.
install(FILES ${here}/icons/${zorva_id}.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps ${package})
foreach(size 48 256)
  install(FILES ${here}/icons/${zorva_id}-${size}.png RENAME ${zorva_id}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps ${package})
endforeach()

# Debian wants manual pages and the changelog compressed with gzip -9n (no name, no time stamp).
set(compressed)
foreach(page zorva.1 zorva-initdb.1 ZorvaMon.1)
  list(APPEND compressed ${out}/${page}.gz)
  set(source_${page} ${here}/man/${page})
endforeach()
list(APPEND compressed ${out}/changelog.gz)
set(source_changelog ${here}/changelog)
foreach(file ${compressed})
  get_filename_component(name ${file} NAME_WLE)
  add_custom_command(OUTPUT ${file}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
    COMMAND gzip -9n -c ${source_${name}} > ${file}
    DEPENDS ${source_${name}} VERBATIM)
endforeach()
add_custom_target(zorva_package_files ALL DEPENDS ${compressed})
install(FILES ${out}/zorva.1.gz ${out}/zorva-initdb.1.gz ${out}/ZorvaMon.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 ${package})
install(FILES ${here}/copyright ${out}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zorva ${package})
# The user manual, where the help window looks for it: ../share/zorva/manual from the program,
# or "manual" beside it in the application folder. Its pictures are those the manual_pictures
# target takes from the forms; without them the pages come without pictures.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/doc/manual/ DESTINATION ${CMAKE_INSTALL_DATADIR}/zorva/manual ${package})
install(DIRECTORY ${CMAKE_BINARY_DIR}/manual/images DESTINATION ${CMAKE_INSTALL_DATADIR}/zorva/manual OPTIONAL ${package})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/doc/manual/ DESTINATION manual)
install(DIRECTORY ${CMAKE_BINARY_DIR}/manual/images DESTINATION manual OPTIONAL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorva)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Zorva developers")
set(CPACK_PACKAGE_CONTACT "The Zorva developers <maintainers@zorva.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "IPv4 address management for network administrators")
set(CPACK_PACKAGE_DESCRIPTION
"Zorva plans, hands out and keeps an inventory of the IPv4 addresses of a
network and of the devices that use them. An address plan of areas, states,
cities, work groups and equipment ranges fixes how addresses are formed; the
next free address of a range is pinged before it is handed out. The inventory
is searched, reported on and kept with the history of every address.

ZorvaMon sweeps watched ranges and records what answered. The data stays in
one SQLite file per user, or on a shared PostgreSQL server.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};Zorva;package;/")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://zorva.example.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded as plugins, so invisible to dpkg-shlibdeps: the file's database driver and a window
# system. The server's driver and setcap (used by postinst) are optional.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6sql6-psql, libcap2-bin")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${here}/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

# Builds the package and checks it (files, dependencies, lintian, validators, a first start).
add_test(NAME package_check COMMAND ${here}/check-package.sh ${CMAKE_BINARY_DIR})
set_tests_properties(package_check PROPERTIES LABELS package TIMEOUT 900)
