# Writes OUTPUT, a C++ source holding every PNG of PNG_DIR as a byte array
# keyed by its resource number. File names are <number>.png for a picture and
# <number>-<size>.png for a smaller version of the same picture.
# Run as: cmake -DPNG_DIR=<folder> -DOUTPUT=<file.cpp> -P EmbedPngResources.cmake

file(GLOB files RELATIVE ${PNG_DIR} ${PNG_DIR}/*.png)
list(SORT files COMPARE NATURAL)

# CMake's regular expressions have no {n}: spell out one line of 20 bytes.
string(REPEAT "0x..," 20 line_of_bytes)

set(arrays "")
set(entries "")
foreach(name IN LISTS files)
  if(NOT name MATCHES "^([0-9]+)(-([0-9]+))?\\.png$")
    message(FATAL_ERROR "${PNG_DIR}/${name}: picture names are <number>.png or <number>-<size>.png")
  endif()
  set(id ${CMAKE_MATCH_1})
  set(small_size 0)
  set(symbol "kPng${id}")
  if(CMAKE_MATCH_3)
    set(small_size ${CMAKE_MATCH_3})
    set(symbol "kPng${id}_${small_size}")
  endif()

  file(READ ${PNG_DIR}/${name} hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "(${line_of_bytes})" "\\1\n    " bytes "${bytes}")
  string(APPEND arrays "const unsigned char ${symbol}[] = {\n    ${bytes}\n};\n")
  string(APPEND entries "    {${id}, ${small_size}, {${symbol}, sizeof ${symbol}}},\n")
endforeach()

file(CONFIGURE OUTPUT ${OUTPUT} @ONLY CONTENT [[
// Generated from resources/png by EmbedPngResources.cmake; edit the pictures, not this file.
#include "pictures/PngResourceTable.h"

namespace vn {
namespace {

@arrays@
const PngResource kTable[] = {
@entries@};

}  // namespace

std::span<const PngResource> PngResources() { return kTable; }

}  // namespace vn
]])
