# zov_add_test_folder(NAME LIBS...): one GoogleTest executable "NAME" from every *_test.cpp and
# helper *.cpp of the current folder, registered case by case with CTest.
function(zov_add_test_folder name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  # The registry's fault variables work in tests (platform/registry/write_gate.h).
  target_link_libraries(${name} PRIVATE $<TARGET_NAME_IF_EXISTS:zovfaultinjection> ${ARGN}
                                        GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE ZOV_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                             ZOV_BINARY_DIR="${PROJECT_BINARY_DIR}")
  # ctest starts the costliest tests first, so that a long one does not run alone at the end;
  # a folder of long tests sets ZOV_TEST_COST before it adds itself.
  if(NOT DEFINED ZOV_TEST_COST)
    set(ZOV_TEST_COST 0)
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300 COST ${ZOV_TEST_COST})
endfunction()
