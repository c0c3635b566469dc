# The layering check, run by CTest (label "layering"):
#   cmake -DKV_SOURCE_DIR=<repository> -P cmake/CheckLayering.cmake
# Two rules over every source file under src/:
# 1. Only src/platform/ includes a third-party library's or the operating system's headers; everything
#    else calls the engine's own classes, so a second platform would touch one folder.
# 2. A folder includes only folders at or below it in the subsystem order (KV_LAYER_ORDER), except the
#    headers listed for it in cmake/layering-allow.txt, each with the reason it is there.
# 3. The two games stay apart: strategy/ includes nothing of adventure/ (KV_LAYER_APART); they meet in
#    the script interfaces and in game/.
# Every breach is printed as "file:line: what" and the check fails.

set(KV_LAYER_ORDER platform core graphics animation task script media appdata adventure strategy game main)

# "<folder>><folder>" pairs that may not include each other's headers although the order would allow it.
set(KV_LAYER_APART "strategy>adventure")

# Headers only the platform layer may include: SDL, OpenGL through epoxy, EGL, FreeType, fontconfig,
# libpng, zlib, libjpeg, Ogg Vorbis, FFmpeg, X11, and the POSIX and Linux system interfaces.
set(KV_PLATFORM_ONLY_HEADERS
    "^SDL" "^GL/" "^GLES" "^EGL/" "^KHR/" "^epoxy/" "^ft2build\\.h$" "^freetype/" "^fontconfig/"
    "^png\\.h$" "^pngconf\\.h$" "^zlib\\.h$" "^jpeglib\\.h$" "^jerror\\.h$" "^jconfig\\.h$" "^ogg/" "^vorbis/"
    "^libav" "^libsw" "^X11/" "^unistd\\.h$" "^fcntl\\.h$" "^spawn\\.h$" "^sys/" "^dirent\\.h$" "^pthread\\.h$"
    "^iconv\\.h$" "^pwd\\.h$" "^dlfcn\\.h$" "^malloc\\.h$" "^poll\\.h$" "^langinfo\\.h$" "^termios\\.h$"
    "^sched\\.h$" "^semaphore\\.h$" "^syslog\\.h$" "^linux/" "^asm/")

if(NOT KV_SOURCE_DIR)
  message(FATAL_ERROR "KV_SOURCE_DIR is not set")
endif()

# The allow-list: "<folder> <header>" per line; "#" starts a comment.
set(allowed)
file(STRINGS ${KV_SOURCE_DIR}/cmake/layering-allow.txt allow_lines)
foreach(line IN LISTS allow_lines)
  string(REGEX REPLACE "#.*$" "" line "${line}")
  string(STRIP "${line}" line)
  if(line STREQUAL "")
    continue()
  endif()
  string(REGEX REPLACE "[ \t]+" ";" fields "${line}")
  list(LENGTH fields count)
  if(NOT count EQUAL 2)
    message(FATAL_ERROR "layering-allow.txt: expected \"<folder> <header>\": ${line}")
  endif()
  list(GET fields 0 from)
  list(GET fields 1 header)
  list(APPEND allowed "${from}>${header}")
endforeach()

file(GLOB_RECURSE sources RELATIVE ${KV_SOURCE_DIR}/src
     ${KV_SOURCE_DIR}/src/*.h ${KV_SOURCE_DIR}/src/*.hpp ${KV_SOURCE_DIR}/src/*.cpp ${KV_SOURCE_DIR}/src/*.c)
list(SORT sources)
set(breaches 0)
set(used_allowed)
foreach(rel IN LISTS sources)
  string(REGEX MATCH "^[^/]+" folder "${rel}")
  list(FIND KV_LAYER_ORDER "${folder}" own_rank)
  if(own_rank LESS 0)
    message(SEND_ERROR "src/${rel}: folder \"${folder}\" has no place in the layer order")
    math(EXPR breaches "${breaches} + 1")
    continue()
  endif()
  file(STRINGS ${KV_SOURCE_DIR}/src/${rel} lines)
  set(number 0)
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*([<\"])([^>\"]+)[>\"]")
      continue()
    endif()
    set(kind "${CMAKE_MATCH_1}")
    set(header "${CMAKE_MATCH_2}")
    if(NOT folder STREQUAL "platform")
      foreach(pattern IN LISTS KV_PLATFORM_ONLY_HEADERS)
        if(header MATCHES "${pattern}")
          message("src/${rel}:${number}: includes <${header}>, which only src/platform/ may include")
          math(EXPR breaches "${breaches} + 1")
          break()
        endif()
      endforeach()
    endif()
    if(kind STREQUAL "\"" AND header MATCHES "^([^/]+)/")
      set(target "${CMAKE_MATCH_1}")
      list(FIND KV_LAYER_ORDER "${target}" target_rank)
      list(FIND KV_LAYER_APART "${folder}>${target}" apart)
      if(apart GREATER_EQUAL 0)
        message("src/${rel}:${number}: ${folder}/ includes \"${header}\": ${folder}/ and ${target}/ meet only "
                "through the script interfaces and game/")
        math(EXPR breaches "${breaches} + 1")
      elseif(target_rank GREATER own_rank)
        list(FIND allowed "${folder}>${header}" allow_index)
        if(allow_index LESS 0)
          message("src/${rel}:${number}: ${folder}/ includes \"${header}\" from ${target}/, above it in the "
                  "layer order")
          math(EXPR breaches "${breaches} + 1")
        else()
          list(APPEND used_allowed "${folder}>${header}")
        endif()
      endif()
    endif()
  endforeach()
endforeach()

# An entry nothing needs any more is taken out, so the list only ever shrinks to what is real.
foreach(entry IN LISTS allowed)
  list(FIND used_allowed "${entry}" used)
  if(used LESS 0)
    string(REPLACE ">" " " shown "${entry}")
    message("cmake/layering-allow.txt: \"${shown}\" is allowed but no longer included: remove it")
    math(EXPR breaches "${breaches} + 1")
  endif()
endforeach()

list(LENGTH sources count)
if(breaches GREATER 0)
  message(FATAL_ERROR "layering: ${breaches} breach(es) in ${count} files")
endif()
message("layering: ${count} files, no breach")
