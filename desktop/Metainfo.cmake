# Fills the AppStream metadata from the documents it would otherwise repeat: the screenshots with
# their captions from README.md's pictures, the releases from CHANGELOG.md's "## VERSION (Build N)"
# entries. An entry is dated by a line "Released YYYY-MM-DD"; one that is "Not released yet" is a
# development release of the build's day (SOURCE_DATE_EPOCH when set, so a package build repeats).

# The file's lines as a list; a ";" in a line is kept as the character held in ${semicolon}, so that a line
# stays one list item (tavrik_xml_escape puts it back).
string(ASCII 31 semicolon)
function(tavrik_read_lines path out)
  file(READ ${path} text)
  string(REPLACE ";" "${semicolon}" text "${text}")
  string(REPLACE "\n" ";" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(tavrik_xml_escape text out)
  string(REPLACE "${semicolon}" ";" text "${text}")
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# <screenshot> elements for README's pictures under docs/screenshots, in README's order.
function(tavrik_metainfo_screenshots readme base_url default_picture out)
  tavrik_read_lines(${readme} lines)
  set(xml "")
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "^!\\[([^]]*)\\]\\(docs/screenshots/([^)]+)\\)")
      continue()
    endif()
    set(caption "${CMAKE_MATCH_1}")
    set(name "${CMAKE_MATCH_2}")
    tavrik_xml_escape("${caption}" caption)
    set(type "")
    if(name STREQUAL default_picture)
      set(type " type=\"default\"")
    endif()
    string(APPEND xml "    <screenshot${type}>\n      <caption>${caption}</caption>\n"
                      "      <image>${base_url}/screenshots/${name}</image>\n    </screenshot>\n")
  endforeach()
  if(NOT xml MATCHES "type=\"default\"")
    message(FATAL_ERROR "${readme} shows no picture docs/screenshots/${default_picture} for software centres")
  endif()
  set(${out} "${xml}" PARENT_SCOPE)
endfunction()

# Closes the release being read: its bullet list and date become one <release> element.
macro(tavrik_close_release)
  if(version)
    if(NOT date)
      message(FATAL_ERROR "CHANGELOG.md: the entry for ${version} says neither \"Released YYYY-MM-DD\" "
                          "nor \"Not released yet\"")
    endif()
    string(APPEND releases "    <release version=\"${version}\" date=\"${date}\"${type}>\n"
                           "      <description>\n        <ul>\n${items}        </ul>\n      </description>\n"
                           "    </release>\n")
  endif()
endmacro()

# <release> elements, newest first as the change log lists them.
function(tavrik_metainfo_releases changelog out)
  tavrik_read_lines(${changelog} lines)
  string(TIMESTAMP today "%Y-%m-%d" UTC)
  set(releases "")
  set(version "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^## ([0-9][0-9.]*) \\(Build [0-9]+\\)")
      tavrik_close_release()
      set(version ${CMAKE_MATCH_1})
      set(date "")
      set(type "")
      set(item "")
      set(items "")
    elseif(NOT version)
    elseif(line MATCHES "^Released ([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9])")
      set(date ${CMAKE_MATCH_1})
    elseif(line MATCHES "^Not released yet")
      set(date ${today})
      set(type " type=\"development\"")
    elseif(line MATCHES "^- (.*)")
      tavrik_xml_escape("${CMAKE_MATCH_1}" text)
      string(APPEND items "          <li>${text}</li>\n")
    elseif(line MATCHES "^  +(.*)" AND items)
      # A bullet's continuation line joins the bullet it belongs to.
      tavrik_xml_escape("${CMAKE_MATCH_1}" text)
      string(REGEX REPLACE "</li>\n$" " ${text}</li>\n" items "${items}")
    endif()
  endforeach()
  tavrik_close_release()
  if(NOT releases)
    message(FATAL_ERROR "CHANGELOG.md holds no \"## VERSION (Build N)\" entry")
  endif()
  set(${out} "${releases}" PARENT_SCOPE)
endfunction()
