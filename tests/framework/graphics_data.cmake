# Pictures nobody here wrote: libjpeg-turbo's test images, JPEG and BMP files written by ImageMagick,
# icons made from the Tango theme; ImageMagick's decode of each is the reference.
set(GFX ${VELMORA_TESTDATA}/graphics)
set(JPEG_SAMPLES ${CMAKE_SOURCE_DIR}/.deps/testimages)
set(TANGO /usr/share/icons/Tango)
set(ICON_NAME apps/accessories-calculator.png)
file(MAKE_DIRECTORY ${GFX})

set(gfx_outputs)
set(gfx_commands)
macro(gfx_make out)
  list(APPEND gfx_outputs ${GFX}/${out})
  list(APPEND gfx_commands COMMAND ${ARGN})
endmacro()

# JPEG: the library's own samples (baseline, progressive-free integer DCT, arithmetic, 12-bit).
foreach(name testorig testimgint testimgari)
  gfx_make(${name}.jpg ${CMAKE_COMMAND} -E copy ${JPEG_SAMPLES}/${name}.jpg ${GFX}/${name}.jpg)
  gfx_make(${name}.ppm ${VELMORA_CONVERT} ${GFX}/${name}.jpg -depth 8 ppm:${GFX}/${name}.ppm)
endforeach()
gfx_make(testorig12.jpg ${CMAKE_COMMAND} -E copy ${JPEG_SAMPLES}/testorig12.jpg ${GFX}/testorig12.jpg)
# JPEG written by ImageMagick: baseline, progressive, grey, CMYK, unsubsampled.
set(SRC ${JPEG_SAMPLES}/testorig.ppm)
gfx_make(im_baseline.jpg ${VELMORA_CONVERT} rose: -resize 200% -quality 85 ${GFX}/im_baseline.jpg)
gfx_make(im_progressive.jpg ${VELMORA_CONVERT} ${SRC} -interlace Plane -quality 80 ${GFX}/im_progressive.jpg)
gfx_make(im_gray.jpg ${VELMORA_CONVERT} ${SRC} -colorspace Gray -quality 90 ${GFX}/im_gray.jpg)
gfx_make(im_cmyk.jpg ${VELMORA_CONVERT} ${SRC} -colorspace CMYK -quality 95 ${GFX}/im_cmyk.jpg)
gfx_make(im_444.jpg ${VELMORA_CONVERT} ${SRC} -sampling-factor 1x1 -quality 95 ${GFX}/im_444.jpg)
foreach(name im_baseline im_progressive im_gray im_cmyk im_444)
  gfx_make(${name}.ppm ${VELMORA_CONVERT} ${GFX}/${name}.jpg -colorspace sRGB -depth 8 ppm:${GFX}/${name}.ppm)
endforeach()

# BMP at every depth the bitmap reads, and the library's sample bitmaps.
gfx_make(bmp1.bmp ${VELMORA_CONVERT} ${SRC} -type bilevel BMP3:${GFX}/bmp1.bmp)
gfx_make(bmp4.bmp ${VELMORA_CONVERT} ${SRC} -colors 16 -type palette -compress none BMP3:${GFX}/bmp4.bmp)
gfx_make(bmp8.bmp ${VELMORA_CONVERT} ${SRC} -colors 200 -type palette -compress none BMP3:${GFX}/bmp8.bmp)
gfx_make(bmp24.bmp ${VELMORA_CONVERT} ${SRC} -type truecolor BMP3:${GFX}/bmp24.bmp)
gfx_make(bmp32.bmp ${VELMORA_CONVERT} ${SRC} -alpha set -define bmp3:alpha=true BMP3:${GFX}/bmp32.bmp)
gfx_make(bmp32v5.bmp ${VELMORA_CONVERT} ${SRC} -alpha set BMP:${GFX}/bmp32v5.bmp)
foreach(name nightshot_iso_100 vgl_6548_0026a)
  gfx_make(${name}.bmp ${CMAKE_COMMAND} -E copy ${JPEG_SAMPLES}/${name}.bmp ${GFX}/${name}.bmp)
endforeach()
foreach(name bmp1 bmp4 bmp8 bmp24 bmp32 bmp32v5 nightshot_iso_100 vgl_6548_0026a)
  gfx_make(${name}.ppm ${VELMORA_CONVERT} ${GFX}/${name}.bmp -alpha off -depth 8 ppm:${GFX}/${name}.ppm)
endforeach()

# An icon of five images: 16, 24, 32 and 48 pixels at 32 bits, and 32 pixels again at 4 bits.
gfx_make(multi.ico ${VELMORA_CONVERT} ${TANGO}/16x16/${ICON_NAME} ${TANGO}/24x24/${ICON_NAME}
  ${TANGO}/32x32/${ICON_NAME} ( ${TANGO}/32x32/${ICON_NAME} -resize 48x48 )
  ( ${TANGO}/32x32/${ICON_NAME} -alpha off -colors 16 -type palette ) ${GFX}/multi.ico)
foreach(index 0 1 2 3 4)
  gfx_make(multi_${index}.ppm ${VELMORA_CONVERT} ${GFX}/multi.ico[${index}] -background white -flatten
    -depth 8 ppm:${GFX}/multi_${index}.ppm)
endforeach()

# An icon whose large image is stored as PNG, as icon editors write 256-pixel images.
gfx_make(png256.ico ${VELMORA_CONVERT} ${TANGO}/16x16/${ICON_NAME} ( ${TANGO}/32x32/${ICON_NAME} -resize 256x256 )
  ${GFX}/png256.ico)

add_custom_command(OUTPUT ${gfx_outputs} ${gfx_commands} VERBATIM)
add_custom_target(graphics_testdata DEPENDS ${gfx_outputs})

# A bitmap resource in the test program, for loading bitmaps by resource name.
# Written only when its text changes, so a new configure does not relink the tests.
file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/graphics_tests.rc CONTENT "TEST_BITMAP BITMAP \"${GFX}/bmp4.bmp\"\n")
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/graphics_tests.rc PROPERTIES OBJECT_DEPENDS ${GFX}/bmp4.bmp)

