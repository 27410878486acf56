# qv_install_configured(TEMPLATE FOLDER NAME [ONLY_UNDER PREFIX]) installs
# TEMPLATE as NAME in FOLDER under the install prefix, mode 0644 whatever the
# umask; with ONLY_UNDER, only when the install prefix is PREFIX. The
# template's @VARIABLES@ are filled in when the build is configured, but
# @PREFIX@ only at install time, when the prefix (cmake --install --prefix, or
# /usr in the package) is known: files such as the desktop entry name
# installed paths in full. (file(INSTALL) puts DESTDIR in front of the
# destination itself.)
function(qv_install_configured template folder name)
  cmake_parse_arguments(PARSE_ARGV 3 arg "" ONLY_UNDER "")
  set(PREFIX "@PREFIX@")
  set(configured ${CMAKE_CURRENT_BINARY_DIR}/${name}.in)
  configure_file(${template} ${configured} @ONLY)
  set(staged ${CMAKE_CURRENT_BINARY_DIR}/${name})
  set(code "file(READ \"${configured}\" text)
            string(REPLACE \"@PREFIX@\" \"\${CMAKE_INSTALL_PREFIX}\" text \"\${text}\")
            file(WRITE \"${staged}\" \"\${text}\")
            file(INSTALL \"${staged}\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${folder}\"
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)")
  if(arg_ONLY_UNDER)
    set(code "if(\"\${CMAKE_INSTALL_PREFIX}\" STREQUAL \"${arg_ONLY_UNDER}\")\n${code}\nendif()")
  endif()
  install(CODE "${code}")
endfunction()
