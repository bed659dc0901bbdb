# `make package`: the program as a Debian package. The program directory goes whole to
# /usr/lib/tallyframe (the program finds its files beside itself), launchers to /usr/bin,
# and the desktop's parts (entry, file type, icons, manual page) where desktops look.
include(GNUInstallDirs)
set(TF_PACKAGE_DIR ${CMAKE_BINARY_DIR}/packaging)

install(TARGETS tallyframe Uplift tallyframe-cli tallyframe-cli-print
  RUNTIME DESTINATION lib/tallyframe)
# Up.exe and Up.dll are copies of Uplift, as in the build's program directory: copied from the
# installed (stripped) one.
foreach(copy Up.exe Up.dll)
  install(CODE "file(COPY_FILE \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/lib/tallyframe/Uplift\"
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/lib/tallyframe/${copy}\")")
endforeach()
install(FILES ${TF_PROGRAM_DIR}/ZUdavu.dat ${TF_PROGRAM_DIR}/Brix.ico DESTINATION lib/tallyframe)
install(FILES ${TF_PROGRAM_DIR}/data/sample.gdb DESTINATION lib/tallyframe/data)
install(DIRECTORY ${TF_PROGRAM_DIR}/help DESTINATION lib/tallyframe)

foreach(program tallyframe tallyframe-cli)
  set(TF_LAUNCHED ${program})
  configure_file(${PROJECT_SOURCE_DIR}/packaging/launcher.in ${TF_PACKAGE_DIR}/bin/${program}
    @ONLY)
  install(PROGRAMS ${TF_PACKAGE_DIR}/bin/${program} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/packaging/tallyframe.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/tallyframe-mime.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME tallyframe.xml)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${CMAKE_BINARY_DIR}/icons/tallyframe-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME tallyframe.png)
endforeach()

# Debian wants the manual page and the changelog compressed, without a time stamp.
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in ${TF_PACKAGE_DIR}/changelog @ONLY)
find_program(GZIP gzip REQUIRED)
add_custom_command(
  OUTPUT ${TF_PACKAGE_DIR}/tallyframe.1.gz ${TF_PACKAGE_DIR}/tallyframe-cli.1.gz
         ${TF_PACKAGE_DIR}/changelog.gz
  COMMAND ${GZIP} -9nc ${PROJECT_SOURCE_DIR}/packaging/tallyframe.1
          > ${TF_PACKAGE_DIR}/tallyframe.1.gz
  COMMAND ${GZIP} -9nc ${PROJECT_SOURCE_DIR}/packaging/tallyframe-cli.1
          > ${TF_PACKAGE_DIR}/tallyframe-cli.1.gz
  COMMAND ${GZIP} -9nc ${TF_PACKAGE_DIR}/changelog > ${TF_PACKAGE_DIR}/changelog.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/tallyframe.1
          ${PROJECT_SOURCE_DIR}/packaging/tallyframe-cli.1 ${TF_PACKAGE_DIR}/changelog
  COMMENT "Compressing the manual page and the changelog")
add_custom_target(package_documents ALL
  DEPENDS ${TF_PACKAGE_DIR}/tallyframe.1.gz ${TF_PACKAGE_DIR}/tallyframe-cli.1.gz
          ${TF_PACKAGE_DIR}/changelog.gz)
install(FILES ${TF_PACKAGE_DIR}/tallyframe.1.gz ${TF_PACKAGE_DIR}/tallyframe-cli.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${TF_PACKAGE_DIR}/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/copyright
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tallyframe)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tallyframe)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tallyframe")
set(CPACK_PACKAGE_CONTACT "Tallyframe developers <dev@tallyframe.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "quantity surveying for building-decoration and fit-out work")
set(CPACK_PACKAGE_DESCRIPTION
  "Per location of a building the surveyor records the work items of a standard\n\
division structure with their dimension expressions; the program derives work\n\
and material quantities, prices the materials, and produces material lists,\n\
cost statistics, printable reports and per-location attachments. Includes\n\
tallyframe-cli, a headless companion for scripting and batch work.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tallyframe.example/")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Qt finds its platform plugin at run time: no library names it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-noto-cjk | fonts-wqy-microhei")
include(CPack)
