# Warnings are errors for our own code; sanitizer builds are switched by options.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
                    -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual -Werror)
# GCC 12 at -O3 reports impossible overlaps inside std::string's own copies (-Wrestrict on
# char_traits::copy, a known false positive of that release); it says nothing about our code.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options(-Wno-restrict)
endif()

if(QUARN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
if(QUARN_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# quarn_add_module(NAME <name> SOURCES ... DEPENDS ...): one static library per subsystem folder.
function(quarn_add_module)
  cmake_parse_arguments(M "" "NAME" "SOURCES;DEPENDS" ${ARGN})
  add_library(quarn_${M_NAME} STATIC ${M_SOURCES})
  target_link_libraries(quarn_${M_NAME} PUBLIC ${M_DEPENDS})
endfunction()

# quarn_add_test(NAME <name> SOURCES ... DEPENDS ...): one GoogleTest executable, cases registered with ctest.
function(quarn_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;DEPENDS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_DEPENDS} GTest::gtest GTest::gtest_main)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 60
                       PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "${T_LABELS}")
endfunction()

if(QUARN_FUZZ)
  # Instrument the whole core for coverage; the fuzz executables add the libFuzzer main.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# quarn_add_bench(NAME <name> SOURCES ... DEPENDS ...): a Google Benchmark executable (not a test).
function(quarn_add_bench)
  cmake_parse_arguments(B "" "NAME" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${B_NAME} ${B_SOURCES})
  target_link_libraries(${B_NAME} PRIVATE ${B_DEPENDS} benchmark::benchmark)
endfunction()

# quarn_add_fuzzer(NAME <name> SOURCES ... DEPENDS ...): a libFuzzer executable.
function(quarn_add_fuzzer)
  cmake_parse_arguments(F "" "NAME" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${F_NAME} ${F_SOURCES})
  target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${F_NAME} PRIVATE ${F_DEPENDS})
endfunction()

# quarn_add_qt_test(NAME <name> SOURCES ... DEPENDS ...): a Qt Test executable for widgets, run
# without a display on the offscreen platform.
function(quarn_add_qt_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;DEPENDS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  set_target_properties(${T_NAME} PROPERTIES AUTOMOC ON)
  target_link_libraries(${T_NAME} PRIVATE ${T_DEPENDS} Qt6::Test)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "ui;${T_LABELS}"
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
