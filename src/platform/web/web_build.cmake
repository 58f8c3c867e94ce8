# The browser build (emcmake cmake -S . -B build-web -DKVR_BAKE=...): the game as WebAssembly in a
# page, its baked data as one package preloaded while a bar fills, and the golden scene for the
# browser tests. Everything the page needs lands in build-web/game/, to be served as it is.
set(KVR_BAKE "" CACHE FILEPATH "A native bake program: the browser build cannot run its own")
if(NOT EXISTS "${KVR_BAKE}")
  message(FATAL_ERROR "The browser build takes its content from a native bake: -DKVR_BAKE=PATH")
endif()
set(KVR_WEB_DATA ${CMAKE_BINARY_DIR}/data)
file(MAKE_DIRECTORY ${KVR_WEB_DATA})
# The data package is made when the program links: the stamp makes every bake link it anew.
set(KVR_WEB_DATA_STAMP ${CMAKE_BINARY_DIR}/data.stamp)
add_custom_target(content ALL
  COMMAND ${KVR_BAKE} ${KVR_WEB_DATA} ${CMAKE_SOURCE_DIR}/content
  COMMAND ${CMAKE_COMMAND} -E touch ${KVR_WEB_DATA_STAMP}
  BYPRODUCTS ${KVR_WEB_DATA_STAMP}
  COMMENT "Baking the game's content into ${KVR_WEB_DATA}")

# Debian's emscripten optimises its JavaScript with node, which finds the packaged parser only
# through NODE_PATH.
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
# The compiler here is clang, which warns about a few things gcc does not look at.
add_compile_options(-Wno-unused-private-field)
foreach(sub platform core sound gfx2d engine3d gui world autopilot app)
  add_subdirectory(src/${sub})
endforeach()

set(web_dir ${CMAKE_SOURCE_DIR}/src/platform/web)
# The loop waits for the next timer message by yielding to the browser (Asyncify), so the shell's
# blocking message loop, and the tape and autopilot backends wrapped around it, run unchanged; a
# main-loop callback would have turned that loop inside out. The cost, measured: the module grows
# from 386 to 624 KB (154 to 206 KB gzipped); a headless demo run is no slower within the noise. The page lays its files out as an installed game: the
# data at /usr/share/kvr, the player's files in IndexedDB under the user's data folder.
set(web_link_options
  -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536 -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web
  -sEXPORTED_RUNTIME_METHODS=['ccall','FS'] -sEXPORTED_FUNCTIONS=['_main','_malloc'] -sMINIFY_HTML=0
  -lidbfs.js)
set_target_properties(game PROPERTIES SUFFIX .html
  LINK_DEPENDS "${web_dir}/page.html;${KVR_WEB_DATA_STAMP}")
target_link_options(game PRIVATE ${web_link_options} --shell-file ${web_dir}/page.html
  "SHELL:--preload-file ${KVR_WEB_DATA}@/usr/share/kvr")
add_custom_command(OUTPUT ${KVR_GAME_DIR}/index.html
  COMMAND ${CMAKE_COMMAND} -E copy ${KVR_GAME_DIR}/game.html ${KVR_GAME_DIR}/index.html
  DEPENDS game)
add_custom_target(page ALL DEPENDS ${KVR_GAME_DIR}/index.html)

# The golden 3D scene, drawn by the WebAssembly engine for the byte-for-byte comparison.
add_executable(golden_frame ${CMAKE_SOURCE_DIR}/tests/web/golden_frame.cpp)
target_include_directories(golden_frame PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_definitions(golden_frame PRIVATE KVR_GAME_DIR="/usr/share/kvr")
target_link_libraries(golden_frame PRIVATE kvr_engine3d)
set_target_properties(golden_frame PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KVR_GAME_DIR}
  LINK_DEPENDS ${KVR_WEB_DATA_STAMP})
add_dependencies(golden_frame content)
foreach(name 155 148 asintable.dat ents.tex map1.tex player1.tdo player1_f1.tdo player1_f2.tdo)
  target_link_options(golden_frame PRIVATE "SHELL:--preload-file ${KVR_WEB_DATA}/${name}@/usr/share/kvr/${name}")
endforeach()
target_link_options(golden_frame PRIVATE -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web
  -sEXPORTED_RUNTIME_METHODS=['FS'])
