# Turns the Unicode character database's CaseFolding.txt into the table of
# simple case foldings (status C and S: one code point to one), sorted by code
# point, as a C++ source. Run as: cmake -DINPUT=... -DOUTPUT=... -P this file.
file(STRINGS "${INPUT}" lines REGEX "^[0-9A-F]+; [CS]; [0-9A-F]+;")
set(body "")
set(count 0)
foreach(line IN LISTS lines)
  string(REGEX MATCH "^([0-9A-F]+); [CS]; ([0-9A-F]+);" _ "${line}")
  string(APPEND body "    {0x${CMAKE_MATCH_1}, 0x${CMAKE_MATCH_2}},\n")
  math(EXPR count "${count} + 1")
endforeach()
if(count LESS 1000)
  message(FATAL_ERROR "${INPUT} holds only ${count} simple case foldings")
endif()
file(WRITE "${OUTPUT}.tmp"
"// Generated at build time from CaseFolding.txt of the Unicode character database.\n"
"#include \"platform/CaseFoldingTable.h\"\n\n"
"namespace korvala {\n\n"
"const TCaseFolding kSimpleCaseFoldings[] = {\n${body}};\n"
"const size_t kSimpleCaseFoldingCount = ${count};\n\n"
"}  // namespace korvala\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
