# Windows build: Pendra.exe, the Win32 layer and the tests that run under Wine.
target_compile_definitions(pendra_core PUBLIC WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600)

# comctl32, comdlg32 and winmm are loaded on first use (platform/on_demand_win.cpp).
set(PENDRA_WIN_LIBS shell32 gdi32 user32 advapi32 ole32 uuid)
set(PENDRA_STATIC_LINK -static -static-libgcc -static-libstdc++)

add_library(pendra_win STATIC ${WIN_SOURCES})
target_link_libraries(pendra_win PUBLIC pendra_core ${PENDRA_WIN_LIBS})
target_compile_options(pendra_win PRIVATE ${PENDRA_WARNINGS})

# Pendra waits on the user nearly all the time, so its code is built for size
# (-Os: about 40 % smaller than -O3), each function in a section of its own so
# that the link drops what nothing calls.
set(PENDRA_SIZE_OPTIONS $<$<CONFIG:Release>:-Os> -ffunction-sections -fdata-sections)
# Line tables and function names only (-g1): enough to turn a crash address
# into a file and a line, and cheap to build. The shipped exe is stripped of
# them (Pendra.debug keeps them).
list(APPEND PENDRA_SIZE_OPTIONS -g1)
target_compile_options(pendra_core PRIVATE ${PENDRA_SIZE_OPTIONS})
target_compile_options(pendra_win PRIVATE ${PENDRA_SIZE_OPTIONS})
# The core calls a few platform functions (replacing a file safely) that have a
# _win.cpp body on Windows: link the two static libraries as a group.
target_link_libraries(pendra_core INTERFACE pendra_win)

# The resource script takes in these files; a change of one rebuilds it.
set_source_files_properties(res/Pendra.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/res/Pendra.manifest;${CMAKE_SOURCE_DIR}/res/Pendra.ico;${CMAKE_SOURCE_DIR}/res/notebook_tools.bmp")

add_executable(Pendra WIN32 app/main_win.cpp res/Pendra.rc)
target_link_libraries(Pendra PRIVATE pendra_win)
target_link_options(Pendra PRIVATE ${PENDRA_STATIC_LINK} -Wl,--gc-sections)
target_compile_options(Pendra PRIVATE ${PENDRA_WARNINGS} ${PENDRA_SIZE_OPTIONS})

# Files the program expects beside its executable.
foreach(f check.bmp undo.bmp)
  add_custom_command(TARGET Pendra POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/res/${f} $<TARGET_FILE_DIR:Pendra>/${f})
endforeach()

if(PENDRA_TESTS)
  # GoogleTest from source (Debian's googletest package, or GTEST_SOURCE_DIR).
  set(GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest source tree")
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

  file(GLOB WIN_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
  if(WIN_TEST_SOURCES)
    add_executable(win_tests ${WIN_TEST_SOURCES} res/Pendra.rc)
    target_link_libraries(win_tests PRIVATE pendra_win gtest)
    target_link_options(win_tests PRIVATE ${PENDRA_STATIC_LINK})
    # The tests' own code needs no -O3 (a quarter less compile time); the
    # code they test is built as Pendra's.
    target_compile_options(win_tests PRIVATE -O1)
    add_test(NAME win_tests COMMAND win_tests)
  endif()

  file(GLOB E2E_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
  if(E2E_TEST_SOURCES)
    add_executable(e2e_tests ${E2E_TEST_SOURCES})
    target_link_libraries(e2e_tests PRIVATE pendra_core gtest ${PENDRA_WIN_LIBS} version)
    target_link_options(e2e_tests PRIVATE ${PENDRA_STATIC_LINK})
    target_compile_options(e2e_tests PRIVATE -O1)
    add_dependencies(e2e_tests Pendra)
    add_test(NAME e2e_tests COMMAND e2e_tests $<TARGET_FILE:Pendra>)
  endif()

  # Benchmark tools: *_bench_win.cpp drive the program's own windows and link
  # its code; the other tools stand alone.
  file(GLOB TOOL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_win.cpp)
  foreach(src ${TOOL_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    if(name MATCHES "_bench_win$")
      add_executable(${name} WIN32 ${src} res/Pendra.rc)
      target_link_libraries(${name} PRIVATE pendra_win)
      target_compile_options(${name} PRIVATE ${PENDRA_WARNINGS})
    else()
      add_executable(${name} WIN32 ${src})
      # They may take the program's ids and constants from its headers.
      target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
      target_link_libraries(${name} PRIVATE ${PENDRA_WIN_LIBS})
    endif()
    target_link_options(${name} PRIVATE ${PENDRA_STATIC_LINK})
  endforeach()
endif()

# Pendra.exe ships without its debug information. Pendra.debug beside it keeps
# that, and the exe names it (.gnu_debuglink), so a crash address can still
# be read: gdb Pendra.exe finds the file beside it.
add_custom_command(TARGET Pendra POST_BUILD
  COMMAND ${CMAKE_OBJCOPY} --only-keep-debug Pendra.exe Pendra.debug
  COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=Pendra.debug Pendra.exe
  WORKING_DIRECTORY $<TARGET_FILE_DIR:Pendra>
  BYPRODUCTS ${CMAKE_BINARY_DIR}/Pendra.debug)

# The installer's action at uninstall, PendraSetup.dll (installer/).
add_library(PendraSetup MODULE installer/setup_actions_win.cpp)
set_target_properties(PendraSetup PROPERTIES PREFIX "")
target_include_directories(PendraSetup PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(PendraSetup PRIVATE advapi32 msi)
target_compile_options(PendraSetup PRIVATE ${PENDRA_WARNINGS} -fno-exceptions)
target_link_options(PendraSetup PRIVATE -static-libgcc -s -Wl,--kill-at)

# The user's guide beside the exe, where Help finds it: "Pendra Guide.html"
# and its folder, made by scripts/guide.sh where bash and cmark-gfm are found.
find_program(PENDRA_BASH bash)
find_program(PENDRA_CMARK_GFM cmark-gfm)
if(PENDRA_BASH AND PENDRA_CMARK_GFM)
  file(GLOB GUIDE_PICTURES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/pictures/*.png)
  add_custom_command(OUTPUT "${CMAKE_BINARY_DIR}/Pendra Guide.html"
    COMMAND ${PENDRA_BASH} ${CMAKE_SOURCE_DIR}/scripts/guide.sh ${CMAKE_BINARY_DIR}
    DEPENDS ${CMAKE_SOURCE_DIR}/scripts/guide.sh ${CMAKE_SOURCE_DIR}/docs/user-guide.md
            ${CMAKE_SOURCE_DIR}/docs/guide.css ${GUIDE_PICTURES})
  add_custom_target(guide ALL DEPENDS "${CMAKE_BINARY_DIR}/Pendra Guide.html")
endif()
