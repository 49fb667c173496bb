# skylane.exe's resources (Windows only; included by src/CMakeLists.txt):
# the bar's icon, the desk lamp of app.svg, rendered on the build machine by
# render_artwork at the sizes Windows shows a program at and packed into one
# .ico by pack_icon; the version, from project(); the maker's name from the
# start-up window's texts (ProductInfo.h) and the copyright line of LICENSE;
# and the application manifest.

# The product's and maker's names as the program shows them, and the
# copyright as LICENSE states it: one source each, read again when they change.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/src/ProductInfo.h ${PROJECT_SOURCE_DIR}/LICENSE)
file(STRINGS ${PROJECT_SOURCE_DIR}/src/ProductInfo.h product_info REGEX "k(ProductName|MakerName)\\[\\] = ")
string(REGEX MATCH "kProductName\\[\\] = \"([^\"]+)\"" _ "${product_info}")
set(SKYLANE_PRODUCT ${CMAKE_MATCH_1})
string(REGEX MATCH "kMakerName\\[\\] = \"([^\"]+)\"" _ "${product_info}")
set(SKYLANE_MAKER ${CMAKE_MATCH_1})
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE SKYLANE_COPYRIGHT REGEX "^Copyright " LIMIT_COUNT 1)
if(NOT SKYLANE_PRODUCT OR NOT SKYLANE_MAKER OR NOT SKYLANE_COPYRIGHT)
  message(FATAL_ERROR "No product name or maker in src/ProductInfo.h, or no copyright line in LICENSE")
endif()
set(version_numbers ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} ${PROJECT_VERSION_PATCH} ${PROJECT_VERSION_TWEAK} 0 0 0)
list(SUBLIST version_numbers 0 4 version_numbers)
list(JOIN version_numbers , SKYLANE_VERSION_COMMAS)

# The build-machine tools: render_artwork as src/artwork has it, and
# pack_icon, which a cross build is handed as it is handed render_artwork.
if(CMAKE_CROSSCOMPILING)
  set(SKYLANE_PACK_ICON "" CACHE FILEPATH "pack_icon built for the build machine")
  if(NOT EXISTS "${SKYLANE_PACK_ICON}")
    message(FATAL_ERROR "A cross build needs -DSKYLANE_PACK_ICON=<pack_icon built for this machine>")
  endif()
  set(tools ${SKYLANE_RENDER_ARTWORK} ${SKYLANE_PACK_ICON})
  set(tool_files ${tools})
else()
  set(tools render_artwork pack_icon)
  set(tool_files $<TARGET_FILE:render_artwork> $<TARGET_FILE:pack_icon>)
endif()
list(GET tool_files 0 render_artwork)
list(GET tool_files 1 pack_icon)

set(icon_dir ${CMAKE_CURRENT_BINARY_DIR}/program-icon)
set(icon_jobs)
set(icon_pngs)
foreach(size 16 24 32 48 256)
  list(APPEND icon_jobs app:${size}x${size})
  list(APPEND icon_pngs ${icon_dir}/app@${size}x${size}.png)
endforeach()
set(SKYLANE_ICON ${icon_dir}/skylane.ico)
set(SKYLANE_MANIFEST ${CMAKE_CURRENT_LIST_DIR}/skylane.manifest)
add_custom_command(OUTPUT ${SKYLANE_ICON}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${icon_dir}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          ${render_artwork} ${PROJECT_SOURCE_DIR}/resources/icons ${icon_dir} 100 ${icon_jobs}
  COMMAND ${pack_icon} ${SKYLANE_ICON} ${icon_pngs}
  DEPENDS ${tools} ${PROJECT_SOURCE_DIR}/resources/icons/app.svg
  VERBATIM)

configure_file(${CMAKE_CURRENT_LIST_DIR}/skylane.rc.in ${CMAKE_CURRENT_BINARY_DIR}/generated/skylane.rc @ONLY)
target_sources(skylane PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/generated/skylane.rc)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/generated/skylane.rc PROPERTIES
  OBJECT_DEPENDS "${SKYLANE_ICON};${SKYLANE_MANIFEST}")
