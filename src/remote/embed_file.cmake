# SPDX-License-Identifier: GPL-3.0-or-later
# Writes a source file holding a file's bytes: cmake -DINPUT=... -DOUTPUT=... -DNAME=... -P
file(READ "${INPUT}" bytes HEX)
string(LENGTH "${bytes}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.new" "// Made by the build from ${INPUT}\n#include <cstddef>\nnamespace corvanel {\nextern const char ${NAME}_Data[] = {\n${bytes}0};\nextern const std::size_t ${NAME}_Size = ${size};\n}\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
