# Turns text resources into a C++ source file at build time.
# Each input becomes one byte array, every byte hex-escaped so that blanks,
# trailing spaces and any other byte survive exactly as written.
# Called as: cmake -DOUTPUT=file.cpp -DINPUTS="name=path|name=path" -P embed.cmake
set(body "// Generated from resources/; do not edit.\n#include \"components/resource_data.h\"\n\nnamespace timer555 {\n")
set(table "")
string(REPLACE "|" ";" entries "${INPUTS}")
foreach(entry IN LISTS entries)
  string(REPLACE "=" ";" parts "${entry}")
  list(GET parts 0 name)
  list(GET parts 1 path)
  file(READ "${path}" hex HEX)
  string(LENGTH "${hex}" hexlen)
  math(EXPR size "${hexlen} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" escaped "${hex}")
  string(APPEND body "static const char k_${name}[] = \"${escaped}\";\n")
  string(APPEND table "    {\"${name}\", std::string_view(k_${name}, ${size})},\n")
endforeach()
string(APPEND body "\nconst std::vector<ResourceEntry>& ResourceTable() {\n  static const std::vector<ResourceEntry> table = {\n${table}  };\n  return table;\n}\n\n}  // namespace timer555\n")
file(WRITE "${OUTPUT}.tmp" "${body}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
