# Installation of the executable and its documents, and the Debian package
# (`make package`). Included from the top-level CMakeLists.txt after the
# executable's directory, so the Morvex target exists here once it is
# defined.

include(GNUInstallDirs)

set(MORVEX_CONTACT "Morvex project <morvex@example.com>")
# Debian revision of the package: the n of <version>-n.
set(MORVEX_DEBIAN_REVISION 1)
set(_docdir "${CMAKE_INSTALL_DATADIR}/doc/morvex")
set(_out "${CMAKE_CURRENT_BINARY_DIR}/packaging")

if(TARGET Morvex)
  install(TARGETS Morvex RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
  if(WIN32)
    # Icon and version record of Morvex.exe.
    enable_language(RC)
    target_sources(Morvex PRIVATE "${MORVEX_RC_FILE}")
  else()
    # A stripped install (the package's) also drops the compiler's .comment
    # and the .note section, as Debian's own packages do.
    install(CODE "
      if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:Morvex>\"
                        COMMAND_ERROR_IS_FATAL ANY)
      endif()")
  endif()
endif()

# The copyright file in Debian's machine-readable format, with the licence
# text of LICENSE.
file(READ "${PROJECT_SOURCE_DIR}/LICENSE" _license)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" _ "${_license}")
set(MORVEX_COPYRIGHT "${CMAKE_MATCH_1}")
string(FIND "${_license}" "Permission is hereby granted" _from)
string(SUBSTRING "${_license}" ${_from} -1 _license)
string(STRIP "${_license}" _license)
string(REPLACE "\n\n" "\n.\n" _license "${_license}")
string(REPLACE "\n" "\n " MORVEX_LICENSE_TEXT " ${_license}")
configure_file(packaging/copyright.in "${_out}/copyright" @ONLY)

# The changelogs: the program's own (changelog.gz) and the package's
# (changelog.Debian.gz), both in Debian's format; their latest versions must
# be this version and this package's.
foreach(_log changelog changelog.Debian)
  file(STRINGS "${PROJECT_SOURCE_DIR}/packaging/${_log}" _top LIMIT_COUNT 1)
  set(_expected "${PROJECT_VERSION}")
  if(_log STREQUAL "changelog.Debian")
    set(_expected "${PROJECT_VERSION}-${MORVEX_DEBIAN_REVISION}")
  endif()
  if(NOT _top MATCHES "^morvex \\(${_expected}\\) ")
    message(FATAL_ERROR "packaging/${_log} starts with '${_top}', not with version ${_expected}")
  endif()
  configure_file("packaging/${_log}" "${_out}/${_log}" COPYONLY)
endforeach()

# The manual page, in English and in Japanese.
configure_file(docs/man/morvex.1.in "${_out}/man/morvex.1" @ONLY)
configure_file(docs/man/ja/morvex.1.in "${_out}/man/ja/morvex.1" @ONLY)

# Installed compressed the way Debian wants them: gzip -9, without the file's
# name and time.
foreach(_file changelog changelog.Debian man/morvex.1 man/ja/morvex.1)
  execute_process(COMMAND gzip -9nkf "${_out}/${_file}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
install(FILES "${_out}/copyright" "${_out}/changelog.gz" "${_out}/changelog.Debian.gz"
        DESTINATION "${_docdir}")
install(FILES "${_out}/man/morvex.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${_out}/man/ja/morvex.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/ja/man1")
install(FILES packaging/lintian-overrides DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides"
        RENAME morvex)

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "Morvex")
set(CPACK_PACKAGE_VENDOR "Morvex project")
set(CPACK_PACKAGE_CONTACT "${MORVEX_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Calculator for the stakes of a progressive betting plan")
set(CPACK_PACKAGE_DESCRIPTION
    "Morvex works out the stakes of a progressive betting plan on horse races:
the next stake, the total staked, the payout and the profit for a run of
defeats, every stake rounded to hundreds of yen. Japanese user interface.")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_STRIP_FILES ON)
# The package goes to MORVEX_PACKAGE_DIR (`make package`: build/).
set(MORVEX_PACKAGE_DIR "${CMAKE_BINARY_DIR}" CACHE PATH "Where cpack writes the Debian package")
set(CPACK_OUTPUT_FILE_PREFIX "${MORVEX_PACKAGE_DIR}")

set(CPACK_DEBIAN_PACKAGE_NAME "morvex")
set(CPACK_DEBIAN_PACKAGE_RELEASE "${MORVEX_DEBIAN_REVISION}")
# morvex_<version>-<revision>_<architecture>.deb
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${MORVEX_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# dpkg-shlibdeps derives the libraries from what the executable links (the Qt
# libraries, libc, libstdc++) with the versions it needs; the Qt platform
# plugins and the Japanese font are loaded at run time, no linker sees them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-gothic")

include(CPack)
