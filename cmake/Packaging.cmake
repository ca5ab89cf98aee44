# The Debian package (scripts/package.sh): the installed layout above, with the manual pages,
# the copyright file and the changelog where Debian keeps them, made by CPack. The libraries
# the programs link come from dpkg-shlibdeps; what they load at run time is named here.

# Manual pages, compressed as Debian wants them: quillet's written, quillet-convert's made
# from its --help by help2man when that is installed.
find_program(HELP2MAN help2man)
find_program(GZIP gzip REQUIRED)
set(QUILLET_MAN_DIR ${CMAKE_BINARY_DIR}/man)
set(QUILLET_DOC_DIR ${CMAKE_BINARY_DIR}/doc)
add_custom_command(OUTPUT ${QUILLET_MAN_DIR}/quillet.1.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILLET_MAN_DIR}
  COMMAND ${GZIP} -9n -c ${CMAKE_SOURCE_DIR}/data/man/quillet.1 > ${QUILLET_MAN_DIR}/quillet.1.gz
  DEPENDS ${CMAKE_SOURCE_DIR}/data/man/quillet.1)
add_custom_command(OUTPUT ${QUILLET_DOC_DIR}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILLET_DOC_DIR}
  COMMAND ${GZIP} -9n -c ${CMAKE_SOURCE_DIR}/data/debian/changelog > ${QUILLET_DOC_DIR}/changelog.gz
  DEPENDS ${CMAKE_SOURCE_DIR}/data/debian/changelog)
set(QUILLET_PACKAGE_FILES ${QUILLET_MAN_DIR}/quillet.1.gz ${QUILLET_DOC_DIR}/changelog.gz)
if(HELP2MAN)
  add_custom_command(OUTPUT ${QUILLET_MAN_DIR}/quillet-convert.1.gz
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            ${HELP2MAN} --no-info --version-string=${PROJECT_VERSION}
            --name "write a video with its sound moved onto its picture"
            --output ${QUILLET_MAN_DIR}/quillet-convert.1 $<TARGET_FILE:quillet-convert>
    COMMAND ${GZIP} -9nf ${QUILLET_MAN_DIR}/quillet-convert.1
    DEPENDS quillet-convert)
  list(APPEND QUILLET_PACKAGE_FILES ${QUILLET_MAN_DIR}/quillet-convert.1.gz)
  install(FILES ${QUILLET_MAN_DIR}/quillet-convert.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
add_custom_target(quillet_package_files ALL DEPENDS ${QUILLET_PACKAGE_FILES})
install(FILES ${QUILLET_MAN_DIR}/quillet.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The package's name, not the project's, names its documentation folder.
install(FILES data/debian/copyright ${QUILLET_DOC_DIR}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillet)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillet)
set(CPACK_PACKAGE_VENDOR Morvane)
set(CPACK_PACKAGE_CONTACT "Morvane <quillet@morvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "put the sound of a video back in step with its picture")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Quillet repairs a video whose sound runs out of step with its picture, whether
the sound starts late or slowly drifts away. The user shifts the sound against
the picture until the lips match and records synchronization points; Quillet
then writes a new file in which each stretch of sound between two points is
resampled so that every point falls exactly on its picture.
.
quillet-convert does the same from the command line, for batches and job
runners.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.morvane.example/quillet/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so no library link names them: the toolkit's own texts and a font
# with the Chinese language file's characters.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-wqy-microhei")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
