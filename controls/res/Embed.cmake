# Writes a C++ source that registers BMP files as the library's bitmap
# resources, byte for byte, for the build that has no resource section.
# -DOUT=file -DDIR=folder -DNAMES=a;b (resource names = file names without .bmp)
# [-DFUNCTION=name of the registering function, RegisterControlsBitmaps by default]
if(NOT FUNCTION)
  set(FUNCTION RegisterControlsBitmaps)
endif()
set(body "")
set(calls "")
foreach(name IN LISTS NAMES)
  file(READ ${DIR}/${name}.bmp hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND body "const std::uint8_t k${name}[] = {${bytes}};\n")
  string(APPEND calls "  RegisterBitmapResource(\"${name}\", k${name});\n")
endforeach()
file(WRITE ${OUT}.tmp "// Generated from controls/res by Embed.cmake.\n#include <cstdint>\n\n#include \"ui/Bitmap.h\"\n\nnamespace {\n${body}}  // namespace\n\nvoid ${FUNCTION}() {\n${calls}}\n")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
