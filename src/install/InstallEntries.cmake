# Runs at install time, after the files of the same component.
set(prefix "${CMAKE_INSTALL_PREFIX}")
set(app "${prefix}/${SKYLANE_APPDIR}")
set(program "${prefix}/${SKYLANE_BINDIR}/skylane")

# Exec= quotes the path; inside quotes " ` $ \ take a backslash, then the
# entry format doubles every backslash, and % is written %%.
string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" exec "${program}")
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REPLACE "%" "%%" exec "${exec}")
set(SKYLANE_EXEC "\"${exec}\"")
configure_file("${SKYLANE_SOURCE}/resources/skylane.desktop.in" "${SKYLANE_WORK}/skylane.desktop" @ONLY)

if(SKYLANE_AUTOSTART)
  if(DEFINED ENV{XDG_CONFIG_HOME} AND IS_ABSOLUTE "$ENV{XDG_CONFIG_HOME}")
    set(autostart "$ENV{XDG_CONFIG_HOME}/autostart")
  else()
    set(autostart "$ENV{HOME}/.config/autostart")
  endif()
  file(INSTALL "${SKYLANE_WORK}/skylane.desktop" DESTINATION "${autostart}")
else()
  file(INSTALL "${SKYLANE_WORK}/skylane.desktop" DESTINATION "${prefix}/${SKYLANE_APPLICATIONS}")
  # A relative link, so the installed tree can move with its prefix.
  file(RELATIVE_PATH target "${prefix}/${SKYLANE_BINDIR}" "${app}/skylane")
  file(MAKE_DIRECTORY "$ENV{DESTDIR}${prefix}/${SKYLANE_BINDIR}")
  file(REMOVE "$ENV{DESTDIR}${program}")
  file(CREATE_LINK "${target}" "$ENV{DESTDIR}${program}" SYMBOLIC)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "$ENV{DESTDIR}${program}")
  # config/ belongs to the user: only a missing blank-button picture is added.
  if(NOT EXISTS "$ENV{DESTDIR}${app}/config/1.2.jpg")
    file(INSTALL "${SKYLANE_SOURCE}/resources/config/1.2.jpg" DESTINATION "${app}/config")
  endif()
endif()

# What every install so far put in place, for the uninstall (config/ is
# never on it).
set(record "$ENV{DESTDIR}${app}/installed-files")
set(files "")
if(EXISTS "${record}")
  file(STRINGS "${record}" files)
endif()
foreach(file IN LISTS CMAKE_INSTALL_MANIFEST_FILES)
  string(FIND "${file}" "$ENV{DESTDIR}${app}/config/" at)
  if(NOT at EQUAL 0)
    list(APPEND files "${file}")
  endif()
endforeach()
list(APPEND files "${record}")
list(REMOVE_DUPLICATES files)
list(JOIN files "\n" text)
file(WRITE "${record}" "${text}\n")
