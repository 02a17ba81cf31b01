# One place for the strictness every target shares.
add_library(rampscope_options INTERFACE)
target_compile_options(rampscope_options INTERFACE
    -Wall -Wextra -Werror
    # Distances must come out the same on every machine: no fused
    # multiply-add where the arithmetic is written as separate steps.
    -ffp-contract=off)
target_compile_definitions(rampscope_options INTERFACE
    QT_NO_CONTEXTLESS_CONNECT
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_KEYWORDS)

if(RAMPSCOPE_SANITIZE)
    target_compile_options(rampscope_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(rampscope_options INTERFACE -fsanitize=address,undefined)
endif()

if(RAMPSCOPE_FUZZ)
    # Every library the fuzz targets link is instrumented for libFuzzer's
    # coverage and checked by the sanitizers. clang 16 reports an older
    # __cpp_concepts than libstdc++ 12 asks of before it offers
    # std::expected; the fuzz build states the one clang implements.
    target_compile_options(rampscope_options INTERFACE
        -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer
        -D__cpp_concepts=202002L -Wno-macro-redefined)
    target_link_options(rampscope_options INTERFACE -fsanitize=address,undefined)
endif()
