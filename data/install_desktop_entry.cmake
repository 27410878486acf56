# Writes the desktop entry at install time, when the prefix (cmake --install
# --prefix) is known: it names the installed program by its full path, so it
# starts even when that folder is not on the desktop session's PATH.
file(READ "${QV_DESKTOP_TEMPLATE}" entry)
string(REPLACE "__BINDIR__" "${CMAKE_INSTALL_PREFIX}/${QV_BINDIR}" entry "${entry}")
set(target "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${QV_DATADIR}/applications/quorvane.desktop")
message(STATUS "Installing: ${target}")
file(WRITE "${target}" "${entry}")
