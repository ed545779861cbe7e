# Installation of the executable and its manual pages; the desktop entry,
# the icons and the AppStream metadata are installed with the resources.
# Only the program's own files: a distribution's package adds its own
# (debian/). Included from the top-level CMakeLists.txt after the
# executable's directory, so the Morvex target exists here once it is
# defined.

include(GNUInstallDirs)

if(TARGET Morvex)
  install(TARGETS Morvex RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
  if(WIN32)
    # Icon and version record of Morvex.exe.
    enable_language(RC)
    target_sources(Morvex PRIVATE "${MORVEX_RC_FILE}")
  endif()
endif()

# The manual page, in English and in Japanese.
set(_man "${CMAKE_CURRENT_BINARY_DIR}/man")
configure_file(docs/man/morvex.1.in "${_man}/morvex.1" @ONLY)
configure_file(docs/man/ja/morvex.1.in "${_man}/ja/morvex.1" @ONLY)
install(FILES "${_man}/morvex.1" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${_man}/ja/morvex.1" DESTINATION "${CMAKE_INSTALL_MANDIR}/ja/man1")
