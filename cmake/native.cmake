# Native build: the portable logic and its unit tests with fakes.
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB QUANDREL_UNIT_TESTS CONFIGURE_DEPENDS tests/unit/*.cpp tests/unit/fakes/*.cpp)
add_executable(unit_tests ${QUANDREL_UNIT_TESTS})
target_include_directories(unit_tests PRIVATE tests/unit)
target_link_libraries(unit_tests PRIVATE quandrel_core GTest::gtest GTest::gtest_main GTest::gmock)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60)

file(GLOB QUANDREL_BENCHES CONFIGURE_DEPENDS bench/*_native.cpp)
foreach(bench_source ${QUANDREL_BENCHES})
  get_filename_component(bench_name ${bench_source} NAME_WE)
  add_executable(${bench_name} ${bench_source})
  target_link_libraries(${bench_name} PRIVATE quandrel_core)
endforeach()

# Tests of shipped files read them from the source tree.
target_compile_definitions(unit_tests PRIVATE QUANDREL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

# The package test: run by tools/check-package.sh on an unpacked zip, never by
# ctest (there is no package in a plain build).
add_executable(package_tests tests/package/package_test.cpp tests/unit/shipped_files.cpp
               tests/unit/sample_settings.cpp tests/unit/fakes/fake_files.cpp)
target_include_directories(package_tests PRIVATE tests/unit)
target_link_libraries(package_tests PRIVATE quandrel_core GTest::gtest GTest::gtest_main)
target_compile_definitions(package_tests PRIVATE QUANDREL_VERSION="${PROJECT_VERSION}")
