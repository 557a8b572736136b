# Native build: the portable logic and its unit tests with fakes.
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB QUANDREL_UNIT_TESTS CONFIGURE_DEPENDS tests/unit/*.cpp tests/unit/fakes/*.cpp)
add_executable(unit_tests ${QUANDREL_UNIT_TESTS})
target_include_directories(unit_tests PRIVATE tests/unit)
target_link_libraries(unit_tests PRIVATE quandrel_core GTest::gtest GTest::gtest_main GTest::gmock)
# A unit test that hangs (a fake process that never ends) fails on its time
# limit instead of holding up the run. Under the sanitizers every start of the
# program costs far more than a test, so there the suite runs as one process
# (its output names the test that hung or failed).
option(QUANDREL_UNIT_TESTS_AS_ONE "Run all unit tests in one process" OFF)
if(QUANDREL_UNIT_TESTS_AS_ONE)
  add_test(NAME unit_tests COMMAND unit_tests)
  set_tests_properties(unit_tests PROPERTIES TIMEOUT 300)
else()
  gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 60)
endif()

file(GLOB QUANDREL_BENCHES CONFIGURE_DEPENDS bench/*_native.cpp)
foreach(bench_source ${QUANDREL_BENCHES})
  get_filename_component(bench_name ${bench_source} NAME_WE)
  add_executable(${bench_name} ${bench_source})
  target_link_libraries(${bench_name} PRIVATE quandrel_core)
endforeach()

# Tests of shipped files read them from the source tree.
target_compile_definitions(unit_tests PRIVATE QUANDREL_SOURCE_DIR_UTF8=u8"${CMAKE_SOURCE_DIR}")

# The package test: run by tools/check-package.sh on an unpacked zip, never by
# ctest (there is no package in a plain build).
add_executable(package_tests tests/package/package_test.cpp tests/unit/shipped_files.cpp
               tests/unit/licence_notices.cpp tests/unit/sample_settings.cpp tests/unit/fakes/fake_files.cpp)
target_include_directories(package_tests PRIVATE tests/unit)
target_link_libraries(package_tests PRIVATE quandrel_core GTest::gtest GTest::gtest_main)
target_compile_definitions(package_tests PRIVATE QUANDREL_VERSION="${PROJECT_VERSION}")
