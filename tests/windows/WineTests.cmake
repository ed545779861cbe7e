# The Windows build's tests run under Wine: every test executable through
# wine-run (CTest's emulator for cross-built targets), in a Wine prefix of the
# build's own that the fixture test wine_prefix makes first, never the user's.
# The executables find the Qt and MinGW runtime DLLs on Wine's search path;
# the offscreen platform reads its fonts from one folder.
find_program(MORVEX_WINE wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/wine-run")

set(_dll_dirs "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}")
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE _path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${_path}" OR NOT EXISTS "${_path}")
    message(FATAL_ERROR "the cross compiler does not know where ${dll} is")
  endif()
  file(REAL_PATH "${_path}" _path)
  get_filename_component(_dir "${_path}" DIRECTORY)
  list(APPEND _dll_dirs "${_dir}")
endforeach()
list(REMOVE_DUPLICATES _dll_dirs)
list(JOIN _dll_dirs ":" MORVEX_WINE_DLL_DIRS)

# Wine has no Japanese font of its own, as a Windows without its Japanese
# fonts has none: the offscreen platform's system fonts are the Latin ones
# alone, and the IPA gothics are where Morvex.exe finds them in its folder,
# fonts/ beside the test executables and the fuzz replays.
set(_fonts "${CMAKE_BINARY_DIR}/wine-fonts")
file(GLOB _latin_fonts /usr/share/fonts/truetype/dejavu/DejaVuSans*.ttf)
file(GLOB _japanese_fonts /usr/share/fonts/opentype/ipafont-gothic/*.ttf)
if(NOT _latin_fonts OR NOT _japanese_fonts)
  message(FATAL_ERROR "no IPA or DejaVu fonts: scripts/install-deps windows installs them")
endif()
foreach(_folder wine-fonts tests/fonts fuzz/fonts)
  file(REMOVE_RECURSE "${CMAKE_BINARY_DIR}/${_folder}")
  file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/${_folder}")
endforeach()
foreach(font IN LISTS _latin_fonts)
  get_filename_component(_name "${font}" NAME)
  file(CREATE_LINK "${font}" "${_fonts}/${_name}" SYMBOLIC)
endforeach()
foreach(font IN LISTS _japanese_fonts)
  get_filename_component(_name "${font}" NAME)
  file(CREATE_LINK "${font}" "${CMAKE_BINARY_DIR}/tests/fonts/${_name}" SYMBOLIC)
  file(CREATE_LINK "${font}" "${CMAKE_BINARY_DIR}/fuzz/fonts/${_name}" SYMBOLIC)
endforeach()

set(MORVEX_WINEPREFIX "${CMAKE_BINARY_DIR}/wine-prefix")
set(MORVEX_TEST_FIXTURE wine) # every test of the suite needs the prefix
set(MORVEX_TEST_ENVIRONMENT
    "WINEPREFIX=${MORVEX_WINEPREFIX}"
    "MORVEX_WINE_DLL_DIRS=${MORVEX_WINE_DLL_DIRS}"
    "QT_QPA_FONTDIR=Z:${_fonts}")

add_test(NAME wine_prefix COMMAND "${CMAKE_CURRENT_LIST_DIR}/fresh-wine-prefix")
set_tests_properties(wine_prefix PROPERTIES
    FIXTURES_SETUP wine
    ENVIRONMENT "WINEPREFIX=${MORVEX_WINEPREFIX};WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=")

# For the smoke test: starts Morvex.exe with no console and no standard
# handles, as a desktop shortcut starts it.
add_executable(detached "${CMAKE_CURRENT_LIST_DIR}/detached.cpp")
target_link_options(detached PRIVATE -municode -static) # needs no DLL beside it
