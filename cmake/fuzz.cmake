# Fuzzing build (clang, libFuzzer with AddressSanitizer and UBSan): only the
# settings codec and the Shift-JIS helpers, which need no CP932 literals, so
# clang (whose execution charset is UTF-8 alone) compiles them as they are.
set(QUANDREL_FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -g -O1)
add_executable(settings_codec_fuzz
               tests/fuzz/settings_codec_fuzz.cpp src/settings/ini_document.cpp src/text/sjis.cpp)
target_include_directories(settings_codec_fuzz PRIVATE src)
target_compile_options(settings_codec_fuzz PRIVATE ${QUANDREL_FUZZ_FLAGS} -Wall -Wextra)
target_link_options(settings_codec_fuzz PRIVATE ${QUANDREL_FUZZ_FLAGS})
