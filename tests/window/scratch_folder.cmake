# The window tests' temporary folder SCRATCH. ACTION "prepare" empties it before the tests;
# ACTION "check" fails when the tests left anything in it: every test removes what it made,
# also when it fails.
if(ACTION STREQUAL "prepare")
  file(REMOVE_RECURSE "${SCRATCH}")
  file(MAKE_DIRECTORY "${SCRATCH}")
elseif(ACTION STREQUAL "check")
  file(GLOB left LIST_DIRECTORIES true RELATIVE "${SCRATCH}" "${SCRATCH}/*")
  if(left)
    list(JOIN left "\n  " names)
    message(FATAL_ERROR "The window tests left behind in ${SCRATCH}:\n  ${names}")
  endif()
else()
  message(FATAL_ERROR "ACTION must be prepare or check")
endif()
