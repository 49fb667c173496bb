# The portable Windows folder of a cross build from Linux, where windeployqt
# does not run: beside skylane.exe the Qt DLLs, the plugins the program
# loads, MinGW's runtime DLLs; then a check that every DLL the program and
# its plugins import is either in the folder or one Windows provides (and
# that skylane.exe has its resources), the zip of the folder, and the installer of the same files (NSIS, from
# WindowsInstaller.nsi), made again when any of them changed.
#
# Included by src/CMakeLists.txt, it adds the target; run with -P, it does
# the work (APP_DIR, QT_PREFIX, RUNTIME_DLLS, OBJDUMP, STRIP, SYSTEM_LIBS, ZIP,
# MAKENSIS, NSIS_SETTINGS, NSIS_FILES, SETUP).

if(NOT CMAKE_SCRIPT_MODE_FILE)
  get_filename_component(_qt_prefix "${Qt6_DIR}/../../.." ABSOLUTE)
  set(_runtime)
  foreach(_dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${_dll}
                    OUTPUT_VARIABLE _path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${_path}")
      message(FATAL_ERROR "MinGW's ${_dll} not found")
    endif()
    list(APPEND _runtime ${_path})
  endforeach()
  get_filename_component(_mingw_bin ${CMAKE_CXX_COMPILER} DIRECTORY)
  find_program(SKYLANE_OBJDUMP x86_64-w64-mingw32-objdump HINTS ${_mingw_bin} REQUIRED)
  find_program(SKYLANE_STRIP x86_64-w64-mingw32-strip HINTS ${_mingw_bin} REQUIRED)
  find_program(SKYLANE_MAKENSIS makensis REQUIRED)
  # What the installer says of the product, from the program's own
  # resources (ProgramResources.cmake): one source for both.
  set(_settings ${CMAKE_BINARY_DIR}/installer/settings.nsh)
  string(REPLACE , . _version_quad ${SKYLANE_VERSION_COMMAS})
  file(CONFIGURE OUTPUT ${_settings} @ONLY CONTENT [[
!define PRODUCT "@SKYLANE_PRODUCT@"
!define PUBLISHER "@SKYLANE_MAKER@"
!define COPYRIGHT "@SKYLANE_COPYRIGHT@"
!define VERSION "@PROJECT_VERSION@"
!define VERSION_QUAD "@_version_quad@"
!define ICON "@SKYLANE_ICON@"
!define APP_DIR "@SKYLANE_APP_DIR@"
!define FILES "@CMAKE_BINARY_DIR@/installer/files.nsh"
!define OUTFILE "@CMAKE_BINARY_DIR@/SkyLane-@PROJECT_VERSION@-setup.exe"
]])
  add_custom_target(skylane_portable ALL
    COMMAND ${CMAKE_COMMAND} -DAPP_DIR=${SKYLANE_APP_DIR} -DQT_PREFIX=${_qt_prefix}
            "-DRUNTIME_DLLS=${_runtime}" -DOBJDUMP=${SKYLANE_OBJDUMP} -DSTRIP=${SKYLANE_STRIP}
            -DSYSTEM_LIBS=${SKYLANE_MINGW_ROOT}/lib -DZIP=${CMAKE_BINARY_DIR}/SkyLane-win64.zip
            -DMAKENSIS=${SKYLANE_MAKENSIS} -DNSIS_SETTINGS=${_settings}
            -DNSIS_FILES=${CMAKE_BINARY_DIR}/installer/files.nsh
            -DSETUP=${CMAKE_BINARY_DIR}/SkyLane-${PROJECT_VERSION}-setup.exe
            -P ${CMAKE_CURRENT_LIST_FILE}
    DEPENDS skylane
    COMMENT "Laying out the portable folder, SkyLane-win64.zip and SkyLane-${PROJECT_VERSION}-setup.exe"
    VERBATIM)
  return()
endif()

cmake_minimum_required(VERSION 3.25)

# Qt's DLLs and plugins: the windows platform, JPEG for the bar's picture
# (PNG is built into Qt6Gui), the native widget style.
set(copies
  bin/Qt6Core.dll . bin/Qt6Gui.dll . bin/Qt6Widgets.dll .
  plugins/platforms/qwindows.dll platforms
  plugins/imageformats/qjpeg.dll imageformats
  plugins/styles/qwindowsvistastyle.dll styles)
while(copies)
  list(POP_FRONT copies file folder)
  file(COPY ${QT_PREFIX}/${file} DESTINATION ${APP_DIR}/${folder})
endwhile()
# MinGW's DLLs come with their debugging symbols, most of their size.
foreach(dll IN LISTS RUNTIME_DLLS)
  get_filename_component(name ${dll} NAME)
  if(${dll} IS_NEWER_THAN ${APP_DIR}/${name})
    execute_process(COMMAND ${STRIP} --strip-unneeded -o ${APP_DIR}/${name} ${dll} COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()

# Every import resolves: a DLL in the folder, or a Windows DLL (one that
# MinGW has an import library for, or an API set, api-ms-win-*, which
# Windows maps onto its own DLLs).
file(GLOB_RECURSE binaries ${APP_DIR}/*.exe ${APP_DIR}/*.dll)
file(GLOB shipped RELATIVE ${APP_DIR} ${APP_DIR}/*.dll)
string(TOLOWER "${shipped}" shipped)
set(unresolved)
foreach(binary IN LISTS binaries)
  execute_process(COMMAND ${OBJDUMP} -p ${binary} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "objdump cannot read ${binary}")
  endif()
  if(binary MATCHES "/skylane\\.exe$" AND NOT dump MATCHES "The \\.rsrc Resource Directory section")
    message(FATAL_ERROR "skylane.exe has no resource section: no icon, version or manifest")
  endif()
  string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
  foreach(import IN LISTS imports)
    string(REGEX REPLACE "^DLL Name: (.+)\\.[dD][lL][lL]$" "\\1" name "${import}")
    string(TOLOWER "${name}" name)
    if(NOT "${name}.dll" IN_LIST shipped AND NOT EXISTS ${SYSTEM_LIBS}/lib${name}.a
       AND NOT name MATCHES "^api-ms-win-")
      file(RELATIVE_PATH where ${APP_DIR} ${binary})
      list(APPEND unresolved "${where} needs ${name}.dll")
    endif()
  endforeach()
endforeach()
if(unresolved)
  list(JOIN unresolved "\n  " unresolved)
  message(FATAL_ERROR "DLLs missing from the portable folder:\n  ${unresolved}")
endif()
list(LENGTH binaries count)
message(STATUS "Every import of the ${count} programs and DLLs in ${APP_DIR} resolves")

# The zip holds what a user starts with, not the settings and category
# files of a run from this folder.
get_filename_component(parent ${APP_DIR} DIRECTORY)
list(APPEND binaries ${APP_DIR}/config/1.2.jpg ${APP_DIR}/help/help.htm)
list(TRANSFORM binaries REPLACE "^${parent}/" "")
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip ${binaries}
                WORKING_DIRECTORY ${parent} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot write ${ZIP}")
endif()

# The installer's files, the zip's but for config/1.2.jpg, which the
# installer adds only where it is missing: what to install, and what the
# uninstaller removes, sub-folders last.
list(FILTER binaries EXCLUDE REGEX "/config/")
set(install "!macro InstallFiles\n")
set(remove "!macro RemoveFiles\n")
set(folders)
set(current)
foreach(file IN LISTS binaries)
  file(RELATIVE_PATH file ${APP_DIR} ${parent}/${file})
  get_filename_component(folder "${file}" DIRECTORY)
  string(REPLACE / \\ folder "\$INSTDIR/${folder}")
  string(REGEX REPLACE "\\\\$" "" folder "${folder}")
  if(NOT folder STREQUAL current)
    set(current "${folder}")
    list(APPEND folders "${folder}")
    string(APPEND install "  SetOutPath \"${folder}\"\n")
  endif()
  string(REPLACE / \\ target "${file}")
  string(APPEND install "  File \"${APP_DIR}/${file}\"\n")
  string(APPEND remove "  Delete \"\$INSTDIR\\${target}\"\n")
endforeach()
list(REMOVE_DUPLICATES folders)
list(REMOVE_ITEM folders "$INSTDIR")
foreach(folder IN LISTS folders)
  string(APPEND remove "  RMDir \"${folder}\"\n")
endforeach()
file(CONFIGURE OUTPUT ${NSIS_FILES} CONTENT "${install}!macroend\n${remove}!macroend\n" @ONLY)
get_filename_component(nsi ${CMAKE_CURRENT_LIST_DIR}/WindowsInstaller.nsi ABSOLUTE)
foreach(input IN LISTS binaries ITEMS ${nsi} ${NSIS_SETTINGS} ${NSIS_FILES})
  if(NOT IS_ABSOLUTE "${input}")
    set(input ${parent}/${input})
  endif()
  if(${input} IS_NEWER_THAN ${SETUP})
    execute_process(COMMAND ${MAKENSIS} -V2 -DSETTINGS=${NSIS_SETTINGS} ${nsi} RESULT_VARIABLE failed)
    if(failed)
      file(REMOVE ${SETUP})
      message(FATAL_ERROR "makensis cannot build ${SETUP}")
    endif()
    break()
  endif()
endforeach()
