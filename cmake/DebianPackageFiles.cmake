# Runs in cpack on the staged tree before the package is made: Debian's
# copyright file, changelog and manual page in; the record make install keeps
# for its uninstall out (dpkg keeps its own).
set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
set(doc "${root}/usr/share/doc/skylane")
file(REMOVE "${root}/usr/lib/skylane/installed-files")

# The copyright file in Debian's machine-readable format; the licence text
# is LICENSE's from its permission notice on.
file(READ "${CPACK_SKYLANE_SOURCE}/LICENSE" text)
string(FIND "${text}" "Permission" at)
string(SUBSTRING "${text}" ${at} -1 text)
string(STRIP "${text}" text)
string(REPLACE "\n\n" "\n.\n" text "${text}")
string(REPLACE "\n" "\n " text "${text}")
file(WRITE "${doc}/copyright"
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Sky Lane
Upstream-Contact: ${CPACK_PACKAGE_CONTACT}

Files: *
Copyright: 2026 The Sky Lane developers
License: Expat
Comment: the MIT licence, as in the file LICENSE of the source

License: Expat
 ${text}\n")

string(TIMESTAMP date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE "${doc}/changelog"
"skylane (${CPACK_PACKAGE_VERSION}) unstable; urgency=medium

  * Sky Lane ${CPACK_PACKAGE_VERSION}.

 -- ${CPACK_PACKAGE_CONTACT}  ${date}
")
set(man "${root}/usr/share/man/man1")
file(MAKE_DIRECTORY "${man}")
configure_file("${CPACK_SKYLANE_SOURCE}/resources/skylane.1" "${man}/skylane.1" COPYONLY)
execute_process(COMMAND gzip -9nf "${doc}/changelog" "${man}/skylane.1" COMMAND_ERROR_IS_FATAL ANY)
