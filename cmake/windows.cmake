# Windows build: Quandrel.exe, linked statically into one file, and (unless
# QUANDREL_TESTS is OFF) the Win32 tests and stand-in programs run under Wine.
option(QUANDREL_TESTS "Build the Win32 tests and the stand-in programs" ON)

enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
add_compile_definitions(WINVER=0x0601 _WIN32_WINNT=0x0601 _WIN32_IE=0x0600 STRICT)
add_link_options(-static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)

set(QUANDREL_WIN32_LIBS shell32 gdi32 user32 advapi32)

file(GLOB QUANDREL_WIN32_SOURCES CONFIGURE_DEPENDS src/*/win32/*.cpp)
list(FILTER QUANDREL_WIN32_SOURCES EXCLUDE REGEX "/WinMain\\.cpp$")
add_library(quandrel_win32 STATIC ${QUANDREL_WIN32_SOURCES})
target_link_libraries(quandrel_win32 PUBLIC quandrel_core ${QUANDREL_WIN32_LIBS})
target_include_directories(quandrel_win32 PRIVATE res)
# The control tables name their fields (designated initialisers); the rest of
# the program stays at the project's standard.
set_target_properties(quandrel_win32 PROPERTIES CXX_STANDARD 20)

# The version resource reads the project's version from a generated header.
configure_file(res/version.h.in ${CMAKE_BINARY_DIR}/generated/quandrel_version.h @ONLY)
add_executable(Quandrel WIN32 src/main/win32/WinMain.cpp res/quandrel.rc)
target_link_libraries(Quandrel PRIVATE quandrel_win32)
target_include_directories(Quandrel PRIVATE ${CMAKE_BINARY_DIR}/generated)
# The link map beside the program names every runtime object linked into it;
# the package check holds NOTICE.txt to that list.
target_link_options(Quandrel PRIVATE "-Wl,-Map=$<TARGET_FILE_DIR:Quandrel>/Quandrel.map")
set_source_files_properties(res/quandrel.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/res/Quandrel.manifest;${CMAKE_SOURCE_DIR}/res/quandrel.ico;${CMAKE_BINARY_DIR}/generated/quandrel_version.h")

# Benchmarks (run by bench/*.sh, never by the tests).
file(GLOB QUANDREL_WIN32_BENCHES CONFIGURE_DEPENDS bench/*_win32.cpp)
foreach(bench_source ${QUANDREL_WIN32_BENCHES})
  get_filename_component(bench_name ${bench_source} NAME_WE)
  add_executable(${bench_name} ${bench_source})
  target_link_libraries(${bench_name} PRIVATE quandrel_win32)
endforeach()
# The start's floor: a GUI program with Quandrel.exe's imports and manifest.
set_target_properties(empty_launcher_win32 PROPERTIES WIN32_EXECUTABLE ON)
target_sources(empty_launcher_win32 PRIVATE bench/empty_launcher.rc)
set_source_files_properties(bench/empty_launcher.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/res/Quandrel.manifest")
target_include_directories(empty_launcher_win32 PRIVATE res)

if(NOT QUANDREL_TESTS)
  return()
endif()

# Every test program runs under Wine through this wrapper; tools/test-all.sh
# provides the display and the prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_SOURCE_DIR}/tools/wine-exec.sh")

set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# Stand-in programs used by the end-to-end tests, one .exe per source.
file(GLOB QUANDREL_STANDINS CONFIGURE_DEPENDS tests/programs/*.cpp)
set(QUANDREL_STANDIN_TARGETS)
foreach(standin_source ${QUANDREL_STANDINS})
  get_filename_component(standin_name ${standin_source} NAME_WE)
  add_executable(${standin_name} WIN32 ${standin_source})
  target_link_libraries(${standin_name} PRIVATE user32 gdi32)
  list(APPEND QUANDREL_STANDIN_TARGETS ${standin_name})
endforeach()

# A DLL of no consequence that the tests plant beside a program.
add_library(planted_probe SHARED tests/programs/dll/planted_probe.cpp)
set_target_properties(planted_probe PROPERTIES PREFIX "")
list(APPEND QUANDREL_STANDIN_TARGETS planted_probe)
# One that imports it, for where the DLLs a DLL needs are searched.
add_library(planted_user SHARED tests/programs/dll/planted_user.cpp)
set_target_properties(planted_user PROPERTIES PREFIX "")
target_link_libraries(planted_user PRIVATE planted_probe)
list(APPEND QUANDREL_STANDIN_TARGETS planted_user)

file(GLOB QUANDREL_DRIVER_SOURCES CONFIGURE_DEPENDS tests/win32/driver/*.cpp)
add_library(quandrel_driver STATIC ${QUANDREL_DRIVER_SOURCES})
target_include_directories(quandrel_driver PUBLIC tests/win32)
target_link_libraries(quandrel_driver PUBLIC quandrel_core gtest user32 gdi32 advapi32 shell32)
target_compile_definitions(quandrel_driver PUBLIC
  QUANDREL_BUILD_DIR="${CMAKE_BINARY_DIR}"
  QUANDREL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

file(GLOB QUANDREL_WIN32_TESTS CONFIGURE_DEPENDS tests/win32/*.cpp)
add_executable(win32_tests ${QUANDREL_WIN32_TESTS})
target_link_libraries(win32_tests PRIVATE quandrel_win32 quandrel_driver gtest gtest_main)
add_dependencies(win32_tests Quandrel ${QUANDREL_STANDIN_TARGETS})
gtest_discover_tests(win32_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                     PROPERTIES TIMEOUT 300)

# The user guide's pictures from a staged run (tools/update-guide-pictures.sh
# runs it; it is no test).
add_executable(guide_pictures tests/win32/pictures/guide_pictures.cpp)
target_link_libraries(guide_pictures PRIVATE quandrel_driver gtest gtest_main)
add_dependencies(guide_pictures Quandrel ${QUANDREL_STANDIN_TARGETS})

# The run of the programs the zip ships: started by tools/check-package.sh on
# an unpacked zip, never by ctest (there is no package in a plain build).
add_executable(package_run_tests tests/package/package_run_test.cpp)
target_link_libraries(package_run_tests PRIVATE quandrel_driver gtest gtest_main)
add_dependencies(package_run_tests standin_db)

# Quandrel.exe must be one file that needs nothing but the system's DLLs.
add_test(NAME Quandrel.ImportsOnlySystemDlls
         COMMAND ${CMAKE_SOURCE_DIR}/tools/check-imports.sh $<TARGET_FILE:Quandrel>)
