# Native build: the portable logic and its unit tests with fakes.
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB QUANDREL_UNIT_TESTS CONFIGURE_DEPENDS tests/unit/*.cpp tests/unit/fakes/*.cpp)
add_executable(unit_tests ${QUANDREL_UNIT_TESTS})
target_include_directories(unit_tests PRIVATE tests/unit)
target_link_libraries(unit_tests PRIVATE quandrel_core GTest::gtest GTest::gtest_main GTest::gmock)
# A unit test that hangs (a fake process that never ends) fails on its time
# limit instead of holding up the run.
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 60)

file(GLOB QUANDREL_BENCHES CONFIGURE_DEPENDS bench/*_native.cpp)
foreach(bench_source ${QUANDREL_BENCHES})
  get_filename_component(bench_name ${bench_source} NAME_WE)
  add_executable(${bench_name} ${bench_source})
  target_link_libraries(${bench_name} PRIVATE quandrel_core)
endforeach()
