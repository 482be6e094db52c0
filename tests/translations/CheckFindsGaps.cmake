cmake_minimum_required(VERSION 3.16)
# Copies the catalogues in CATALOGUES to SCRATCH, brings them up to date with
# UPDATE and there drops one translation, one placeholder and one whole entry
# of host_de.ts; CHECK run on SCRATCH must then fail and name each of the
# three texts. The update keeps texts the sources no longer use out of the
# choice.
file(REMOVE_RECURSE ${SCRATCH})
file(GLOB catalogues ${CATALOGUES}/*.ts)
file(COPY ${catalogues} DESTINATION ${SCRATCH})
execute_process(COMMAND ${UPDATE} ${SCRATCH} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${UPDATE} failed")
endif()
set(ts ${SCRATCH}/host_de.ts)
file(READ ${ts} text)

# Replaces the first occurrence of `found` in `text`.
macro(replace_first found replacement)
  string(FIND "${text}" "${found}" at)
  string(LENGTH "${found}" length)
  string(SUBSTRING "${text}" 0 ${at} before)
  math(EXPR after_at "${at} + ${length}")
  string(SUBSTRING "${text}" ${after_at} -1 after)
  set(text "${before}${replacement}${after}")
endmacro()

# Plain texts (no markup, entity or placeholder) show in the report as they are.
set(plain "[^<>&%]+")
string(REGEX MATCH "<source>(${plain})</source>\n *<translation>${plain}</translation>" entry "${text}")
if(NOT entry)
  message(FATAL_ERROR "${ts} has no finished plain translation to take away")
endif()
set(untranslated "${CMAKE_MATCH_1}")
replace_first("${entry}" "<source>${untranslated}</source>\n        <translation type=\"unfinished\"></translation>")

string(REGEX MATCH "<source>([^<>&]*%1[^<>&]*)</source>\n *<translation>([^<>&]*%1[^<>&]*)</translation>"
       entry "${text}")
if(NOT entry)
  message(FATAL_ERROR "${ts} has no translation with %1 to break")
endif()
set(placeholder "${CMAKE_MATCH_1}")
string(REPLACE "%1" "" broken "${CMAKE_MATCH_2}")
replace_first("${entry}" "<source>${placeholder}</source>\n        <translation>${broken}</translation>")

string(REGEX MATCH " *<message>\n *<source>(${plain})</source>\n *<translation>${plain}</translation>\n *</message>\n"
       entry "${text}")
if(NOT entry)
  message(FATAL_ERROR "${ts} has no further plain entry to drop")
endif()
set(missing "${CMAKE_MATCH_1}")
replace_first("${entry}" "")
file(WRITE ${ts} "${text}")

execute_process(COMMAND ${CHECK} ${SCRATCH} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(result EQUAL 0)
  message(FATAL_ERROR "the check passed a catalogue with gaps:\n${out}\n${err}")
endif()
foreach(expected "\"${untranslated}\"  (no translation)" "\"${placeholder}\"  (placeholders %1"
                 "\"${missing}\"  (not in the catalogue yet)")
  string(FIND "${out}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the check did not report ${expected}:\n${out}\n${err}")
  endif()
endforeach()
file(REMOVE_RECURSE ${SCRATCH})
