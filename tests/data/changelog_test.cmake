# CHANGELOG.md's reader: characters that mean something to CMake's lists, XML or Debian come through
# as written, continued bullets join, dates get their weekday, and a malformed file stops the build
# with its line number.   cmake -DWORK=DIR -P changelog_test.cmake
cmake_policy(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/../../data/changelog.cmake)

function(expect_in haystack needle)
  string(FIND "${haystack}" "${needle}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "expected\n${needle}\nin\n${haystack}")
  endif()
endfunction()

file(WRITE ${WORK}/good.md "# Changelog\n\nWrite `## VERSION (DATE)` headings.\n\n## 2.0.0 (2027-02-28)\n\n"
                           "- Keys; doors [open] <arrows> & `code`\n  continued\n- Two\n\n## 1.0.0 (2024-02-29)\n\n- One\n")
orvalis_read_changelog(${WORK}/good.md "M <m@x.org>" log)
if(NOT log_VERSIONS STREQUAL "2.0.0;1.0.0" OR NOT log_DATES STREQUAL "2027-02-28;2024-02-29")
  message(FATAL_ERROR "versions ${log_VERSIONS}, dates ${log_DATES}")
endif()
expect_in("${log_APPSTREAM}" "<li>Keys; doors [open] &lt;arrows&gt; &amp; code continued</li>\n          <li>Two</li>")
expect_in("${log_DEBIAN}" "orvalis (2.0.0) unstable; urgency=medium\n\n  * Keys; doors [open] <arrows> & code continued\n")
expect_in("${log_DEBIAN}" " -- M <m@x.org>  Sun, 28 Feb 2027 12:00:00 +0000\n\norvalis (1.0.0)")
expect_in("${log_DEBIAN}" "  * One\n\n -- M <m@x.org>  Thu, 29 Feb 2024 12:00:00 +0000\n")

# Each malformed file is refused, naming the line.
set(bad_heading "## 2.0 (2027-02-28)\n- x\n")
set(stray_line "## 2.0.0 (2027-02-28)\n\n- x\nstray\n")
foreach(case bad_heading stray_line)
  file(WRITE ${WORK}/${case}.md "${${case}}")
  file(WRITE ${WORK}/${case}.cmake "include(${CMAKE_CURRENT_LIST_DIR}/../../data/changelog.cmake)\n"
                                   "orvalis_read_changelog(${WORK}/${case}.md \"\" log)\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -P ${WORK}/${case}.cmake RESULT_VARIABLE result ERROR_VARIABLE error)
  if(result EQUAL 0)
    message(FATAL_ERROR "${case}: accepted")
  endif()
  string(REGEX MATCH "${case}\\.md:[0-9]+:" named "${error}")
  if(NOT named)
    message(FATAL_ERROR "${case}: no line named in\n${error}")
  endif()
endforeach()
