# Opens the first sensor, saves a screenshot and quits; the picture must exist
# and be a PNG of a whole main window.
file(REMOVE ${OUT})
execute_process(
  COMMAND ${WORKBENCH} --open RT5-350-M18 --screenshot ${OUT} --quit-after 1500
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 30)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "workbench exited with ${result}\n${out}\n${err}")
endif()
if(NOT EXISTS ${OUT})
  message(FATAL_ERROR "no screenshot written\n${out}\n${err}")
endif()
file(READ ${OUT} header LIMIT 8 HEX)
if(NOT header STREQUAL "89504e470d0a1a0a")
  message(FATAL_ERROR "screenshot is not a PNG: ${header}")
endif()
file(SIZE ${OUT} size)
if(size LESS 10000)
  message(FATAL_ERROR "screenshot is suspiciously small (${size} bytes)")
endif()
