# embed_assets: writes a C++ file that holds the given files as byte arrays and
# the table web_assets[] of src/html/web/web_assets.h (name = the file's name,
# data, size). Run as a script at build time:
#   cmake -DOUT=web_assets.cpp "-DFILES=a.css|b.js" -P embed_assets.cmake
# Each array carries one NUL byte past its size, so that an empty file still
# makes a valid array.
if(NOT OUT OR NOT FILES)
  message(FATAL_ERROR "embed_assets: OUT and FILES are needed")
endif()
set(body "")
set(table "")
set(count 0)
string(REPLACE "|" ";" FILES "${FILES}")
foreach(file IN LISTS FILES)
  get_filename_component(name "${file}" NAME)
  if(NOT name MATCHES "^[A-Za-z0-9._-]+$")
    message(FATAL_ERROR "embed_assets: ${file}: a file name of letters, digits, '.', '_' and '-' only")
  endif()
  file(SIZE "${file}" size)
  file(READ "${file}" hex HEX)
  # 16 bytes a line, each as 0xNN,
  string(REGEX REPLACE "([0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f])" "\\1\n" hex "${hex}")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND body "// ${name}\nstatic const unsigned char asset_${count}[${size} + 1] = {\n${bytes}0x00};\n\n")
  string(APPEND table "    {\"${name}\", asset_${count}, ${size}},\n")
  math(EXPR count "${count} + 1")
endforeach()
set(text "// Generated at build time by cmake/embed_assets.cmake from assets/web/: do not edit.\n#include \"html/web/web_assets.h\"\n\n${body}const web_asset web_assets[] = {\n${table}};\nconst size_t web_asset_count = ${count};\n")
file(WRITE "${OUT}" "${text}")
