# Writes a help2man include file whose COMMANDS section holds the --help of every command of tavrik-cli.
# The commands are the entries listed under the line of "tavrik-cli --help" that ends in "commands:" (in
# any case): the first word of each line indented as the first entry, a leading "tavrik-cli" passed over,
# up to the next line that is not indented.
# Run as: cmake -DCLI=path/to/tavrik-cli -DOUT=file.h2m -P CommandSections.cmake

function(run_help output)
  execute_process(COMMAND ${CLI} ${ARGN} --help OUTPUT_VARIABLE text RESULT_VARIABLE status ERROR_QUIET)
  if(NOT status EQUAL 0 OR text STREQUAL "")
    message(FATAL_ERROR "${CLI} ${ARGN} --help failed (${status})")
  endif()
  set(${output} "${text}" PARENT_SCOPE)
endfunction()

# Roff text shown as it is: backslashes and dashes escaped, lines that would start a request guarded.
function(roff_literal output text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${output} "${text}" PARENT_SCOPE)
endfunction()

run_help(usage)
# Semicolons would split the lines below; they never occur in a command's name.
string(REPLACE ";" "," usage "${usage}")
string(REPLACE "\n" ";" lines "${usage}")
set(commands "")
set(in_list FALSE)
set(indent "")
foreach(line IN LISTS lines)
  if(NOT in_list)
    if(line MATCHES "[Cc][Oo][Mm][Mm][Aa][Nn][Dd][Ss]:[ \t]*$")
      set(in_list TRUE)
    endif()
    continue()
  endif()
  if(line MATCHES "^[ \t\r]*$")
    continue()
  endif()
  if(NOT line MATCHES "^([ \t]+)([^ \t]+)([ \t]+([^ \t]+))?")
    break() # an unindented line ends the list
  endif()
  if(indent STREQUAL "")
    set(indent "${CMAKE_MATCH_1}")
  endif()
  if(CMAKE_MATCH_1 STREQUAL indent)
    set(name "${CMAKE_MATCH_2}")
    if(name STREQUAL "tavrik-cli")
      set(name "${CMAKE_MATCH_4}")
    endif()
    list(APPEND commands "${name}")
  endif()
endforeach()
if(commands STREQUAL "")
  message(FATAL_ERROR "No commands found in the output of ${CLI} --help")
endif()

set(section "[COMMANDS]\nEach command takes --help for its own usage and options.\n")
foreach(command IN LISTS commands)
  run_help(text ${command})
  roff_literal(text "${text}")
  string(APPEND section ".SS \"tavrik-cli ${command}\"\n.nf\n${text}\n.fi\n")
endforeach()
file(WRITE "${OUT}" "${section}")
