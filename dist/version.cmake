# Writes the version header: the project's version and, when the sources
# are a git checkout, the revision they were built from. Run at every
# build; the header is rewritten only when its text changes, so nothing
# recompiles after a commit that did not move the revision.
#   -DSOURCE_DIR=... -DOUT=... -DVERSION=...
set(revision "")
find_program(GIT git)
if(GIT AND EXISTS "${SOURCE_DIR}/.git")
  execute_process(COMMAND ${GIT} -C "${SOURCE_DIR}" rev-parse --short=10 HEAD
                  OUTPUT_VARIABLE revision OUTPUT_STRIP_TRAILING_WHITESPACE
                  ERROR_QUIET RESULT_VARIABLE failed)
  if(failed)
    set(revision "")
  endif()
endif()
set(text "// Written by dist/version.cmake at build time.\n")
string(APPEND text "#define TESSARIN_VERSION \"${VERSION}\"\n")
string(APPEND text "#define TESSARIN_REVISION \"${revision}\"\n")
set(old "")
if(EXISTS "${OUT}")
  file(READ "${OUT}" old)
endif()
if(NOT old STREQUAL text)
  file(WRITE "${OUT}" "${text}")
endif()
