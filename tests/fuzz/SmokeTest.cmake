# fuzz_smoke: every fuzz target for five seconds from its seed corpus, built
# with clang in a folder of its own. Skipped (exit 77) where clang with
# libFuzzer is missing; alone on the machine, since it builds and keeps both
# cores busy.
add_test(NAME fuzz_smoke COMMAND ${PROJECT_SOURCE_DIR}/scripts/fuzz 5)
set_tests_properties(fuzz_smoke PROPERTIES
  ENVIRONMENT "${IOLINK_TEST_ENV};FUZZ_BUILD_DIR=${CMAKE_BINARY_DIR}/fuzz"
  SKIP_RETURN_CODE 77
  RUN_SERIAL TRUE
  TIMEOUT 300)
