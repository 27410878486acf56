# Writes the package's changelog, compressed without a time stamp as Debian's
# are, dated as the source is: SOURCE_DATE_EPOCH when the builder sets it,
# else the date of the last commit, else the date of the top CMakeLists.txt
# (a source tree without git). The same source makes the same changelog, and
# the file is rewritten only when its text changes.
# Run with -DSOURCE_DIR= -DOUTPUT= -DVERSION= -DMAINTAINER= -DGIT= -DGZIP=.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch "")
  if(GIT)
    execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} log -1 --format=%ct OUTPUT_VARIABLE epoch
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
  if(NOT epoch MATCHES "^[0-9]+$")
    file(TIMESTAMP ${SOURCE_DIR}/CMakeLists.txt epoch "%s" UTC)
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${epoch})
endif()
# string(TIMESTAMP) takes its time from SOURCE_DATE_EPOCH.
string(TIMESTAMP date "%a, %d %b %Y %H:%M:%S +0000" UTC)

set(text "quorvane (${VERSION}) unstable; urgency=medium

  * Quorvane ${VERSION}, packaged from its source tree.

 -- ${MAINTAINER}  ${date}
")
set(old "")
if(EXISTS ${OUTPUT} AND EXISTS ${OUTPUT}.gz)
  file(READ ${OUTPUT} old)
endif()
if(NOT old STREQUAL text)
  file(WRITE ${OUTPUT} "${text}")
  execute_process(COMMAND ${GZIP} -9nkf ${OUTPUT} COMMAND_ERROR_IS_FATAL ANY)
endif()
