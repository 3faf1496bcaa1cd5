# What `cmake --install` (and `make install`) puts where, and the Debian
# package made from the same tree (`make deb`). The programs find the shared
# data as ../share/formwright beside themselves, so any prefix, a DESTDIR and
# a moved tree all work.

# The name the desktop, the metainfo and the package know the program by.
set(FORMWRIGHT_APP_ID org.formwright.Formwright)
set(FORMWRIGHT_HOMEPAGE "https://formwright.example.org" CACHE STRING
  "Web address of the project; the metainfo's screenshot is its docs/main-window.png")
set(FORMWRIGHT_MAINTAINER "Formwright developers <formwright@example.org>" CACHE STRING
  "Maintainer named in the Debian package")
# The Debian changelog wants the date in the form of mail headers.
execute_process(COMMAND date -u -R -d "${FORMWRIGHT_RELEASE_DATE}"
  OUTPUT_VARIABLE FORMWRIGHT_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)

set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(generated ${PROJECT_BINARY_DIR}/packaging)
set(share ${CMAKE_INSTALL_DATADIR})

install(DIRECTORY data/ DESTINATION ${share}/formwright)
install(DIRECTORY data/icons/hicolor DESTINATION ${share}/icons)
install(FILES ${packaging}/formwright.desktop DESTINATION ${share}/applications
  RENAME ${FORMWRIGHT_APP_ID}.desktop)
install(FILES ${packaging}/formwright-mime.xml DESTINATION ${share}/mime/packages RENAME formwright.xml)
configure_file(${packaging}/metainfo.xml.in ${generated}/${FORMWRIGHT_APP_ID}.metainfo.xml @ONLY)
install(FILES ${generated}/${FORMWRIGHT_APP_ID}.metainfo.xml DESTINATION ${share}/metainfo)
install(FILES ${packaging}/completion/formwright-tool DESTINATION ${share}/bash-completion/completions)

# Manual pages and the changelog go in compressed, as Debian keeps them; gzip
# -n leaves the time out, so the same sources give the same bytes.
set(compressed "")
foreach(page formwright formwright-tool)
  configure_file(${packaging}/man/${page}.1.in ${generated}/${page}.1 @ONLY)
  list(APPEND compressed ${generated}/${page}.1.gz)
  install(FILES ${generated}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
configure_file(${packaging}/changelog.in ${generated}/changelog @ONLY)
configure_file(${packaging}/copyright.in ${generated}/copyright @ONLY)
list(APPEND compressed ${generated}/changelog.gz)
foreach(file ${compressed})
  string(REGEX REPLACE "\\.gz$" "" plain ${file})
  add_custom_command(OUTPUT ${file} COMMAND gzip -9 -n -c ${plain} > ${file} DEPENDS ${plain} VERBATIM)
endforeach()
add_custom_target(formwright_packaging ALL DEPENDS ${compressed})
install(FILES ${generated}/copyright ${generated}/changelog.gz README.md DESTINATION ${share}/doc/formwright)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME formwright)
set(CPACK_PACKAGE_VENDOR "Formwright developers")
set(CPACK_PACKAGE_CONTACT "${FORMWRIGHT_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${FORMWRIGHT_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The ribbon's pictures come from the Breeze theme; forms name Arial and
# Calibri, which these fonts stand in for.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "breeze-icon-theme")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2, fonts-crosextra-carlito")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# CPack indents the lines itself; an empty line separates paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "designer for form definition files
Formwright is a desktop editor for form definition files: the XML files in
which a host application keeps the forms it shows for the objects of its
object model. A designer lays out property fields, texts, images, command
buttons, tables and shapes, defines filtered variants of a form, names text
styles and previews the result.

The package also holds formwright-tool, which checks, normalises, draws and
batch-edits the same files without a display.")
include(CPack)
