# Writes the source of the tool's lazy stubs (LazyLibraries.h): one stub for every function of
# the lazily loaded libraries that the tool's code calls, found by the symbols the archives
# leave undefined and the libraries define. Run as a script at build time:
#
#   cmake -DNM=nm -DOBJDUMP=objdump -DARCHIVES="a.a|b.a" -DLIBRARIES="libx.so|liby.so"
#         -DOUTPUT=LazyStubs.cpp -P LazyStubs.cmake
cmake_minimum_required(VERSION 3.25)
string(REPLACE "|" ";" ARCHIVES "${ARCHIVES}")
string(REPLACE "|" ";" LIBRARIES "${LIBRARIES}")

function(run_tool out)
  execute_process(COMMAND ${ARGN} OUTPUT_VARIABLE text ERROR_VARIABLE error RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "LazyStubs.cmake: ${ARGN} failed: ${error}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

run_tool(text ${NM} --undefined-only --format=posix ${ARCHIVES})
string(REGEX MATCHALL "(^|\n)[A-Za-z_][A-Za-z0-9_]* U" matches "${text}")
set(called)
foreach(m IN LISTS matches)
  string(REGEX REPLACE "^\n?([A-Za-z0-9_]+) U$" "\\1" name "${m}")
  list(APPEND called ${name})
endforeach()
list(REMOVE_DUPLICATES called)

set(names "")
set(symbols "")
set(stubs "")
set(index 0)
set(library 0)
set(taken)
foreach(lib IN LISTS LIBRARIES)
  run_tool(text ${OBJDUMP} -p ${lib})
  if(NOT text MATCHES "SONAME +([^ \n]+)")
    message(FATAL_ERROR "LazyStubs.cmake: ${lib} has no SONAME")
  endif()
  set(soname "${CMAKE_MATCH_1}")
  # The functions the library defines: unversioned, or the default version (@@).
  run_tool(text ${NM} --dynamic --defined-only --format=posix ${lib})
  string(REGEX MATCHALL "(^|\n)[A-Za-z_][A-Za-z0-9_]*(@@[^ ]+)? [TiW]" matches "${text}")
  set(found FALSE)
  foreach(m IN LISTS matches)
    string(REGEX REPLACE "^\n?([A-Za-z0-9_]+).*$" "\\1" name "${m}")
    if(name IN_LIST called AND NOT name IN_LIST taken)
      list(APPEND taken ${name})
      string(APPEND symbols "    {${library}, \"${name}\"},\n")
      string(APPEND stubs "RIBBON_LAZY_STUB(${index}, ${name})\n")
      math(EXPR index "${index} + 1")
      set(found TRUE)
    endif()
  endforeach()
  if(found)
    string(APPEND names "\"${soname}\", ")
    math(EXPR library "${library} + 1")
  endif()
endforeach()
if(index EQUAL 0)
  message(FATAL_ERROR "LazyStubs.cmake: the tool calls no function of ${LIBRARIES}")
endif()

file(WRITE "${OUTPUT}.new" "// Written by cli/LazyStubs.cmake: do not edit.

#include \"cli/LazyLibraries.h\"

extern \"C\" {
__attribute__((visibility(\"hidden\"))) void* ribbon_lazy_slots[${index}];
}

namespace ribbon::cli::lazy {

const char* const Libraries[] = {${names}};
void* Handles[${library}];
const Symbol Symbols[] = {
${symbols}};

}  // namespace ribbon::cli::lazy

${stubs}")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
