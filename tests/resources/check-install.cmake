# Installs the build tree into a scratch prefix and checks that every file
# lands where desktops, software centres, man and the shell look for it, and
# that nothing else is installed: what only a distribution's package has
# (copyright, changelogs, lintian overrides) comes from that package.
#   cmake -DBUILD_DIR=… -DPREFIX=… -DAPP_ID=… -DEXECUTABLE=<name> [-DBUILT=ON] -P check-install.cmake
# BUILT says whether this build has the executable at all.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(expected
    share/applications/${APP_ID}.desktop
    share/metainfo/${APP_ID}.metainfo.xml
    share/icons/hicolor/scalable/apps/morvex.svg
    share/man/man1/morvex.1
    share/man/ja/man1/morvex.1)
foreach(n 16 24 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${n}x${n}/apps/morvex.png)
endforeach()
if(BUILT)
  list(APPEND expected bin/${EXECUTABLE})
endif()

set(missing "")
foreach(f IN LISTS expected)
  if(NOT EXISTS "${PREFIX}/${f}")
    list(APPEND missing "${f}")
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "not installed: ${missing}")
endif()

# The desktop entry starts what was installed and names the installed icon.
file(STRINGS "${PREFIX}/share/applications/${APP_ID}.desktop" exec REGEX "^Exec=")
file(STRINGS "${PREFIX}/share/applications/${APP_ID}.desktop" icon REGEX "^Icon=")
if(NOT exec STREQUAL "Exec=${EXECUTABLE}" OR NOT icon STREQUAL "Icon=morvex")
  message(FATAL_ERROR "desktop entry does not match the installed files: ${exec} ${icon}")
endif()
if(BUILT AND NOT IS_DIRECTORY "${PREFIX}/bin/${EXECUTABLE}")
  execute_process(COMMAND test -x "${PREFIX}/bin/${EXECUTABLE}" RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "bin/${EXECUTABLE} is not executable")
  endif()
endif()
file(GLOB_RECURSE installed RELATIVE "${PREFIX}" "${PREFIX}/*")
list(REMOVE_ITEM installed ${expected})
if(installed)
  message(FATAL_ERROR "installed but not expected: ${installed}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
