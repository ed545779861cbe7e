# Installation of the executable and the Debian package. Included from the
# top-level CMakeLists.txt after the executable's directory, so the Morvex
# target exists here once it is defined.

include(GNUInstallDirs)

if(TARGET Morvex)
  install(TARGETS Morvex RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
  # Icon and version record of Morvex.exe.
  if(WIN32)
    enable_language(RC)
    target_sources(Morvex PRIVATE "${MORVEX_RC_FILE}")
  endif()
endif()

install(FILES "${PROJECT_SOURCE_DIR}/LICENSE" DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/morvex")

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "Morvex")
set(CPACK_PACKAGE_VENDOR "Morvex project")
set(CPACK_PACKAGE_CONTACT "Morvex project <morvex@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Calculator for the stakes of a progressive betting plan")
set(CPACK_PACKAGE_DESCRIPTION
    "Morvex works out the stakes of a progressive betting plan on horse races:
the next stake, the total staked, the payout and the profit for a run of
defeats, every stake rounded to hundreds of yen. Japanese user interface.")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME "morvex")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Morvex project <morvex@example.com>")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# dpkg-shlibdeps derives the libraries from what the executable links (the Qt
# libraries, libc, libstdc++) with the versions it needs; the Qt platform
# plugins and the Japanese font are loaded at run time, no linker sees them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-gothic")

include(CPack)
