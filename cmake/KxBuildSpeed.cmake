# What keeps the build short on a small machine: one linker that is fast at big sanitizer
# executables, less debug information where only line numbers are read (sanitizer reports), and
# the Qt, standard library and GoogleTest headers compiled once and reused by every target.

# Each target's moc step waits only for its own sources, not for every library it links: no
# generated header comes from another target, and otherwise each layer of libraries would wait for
# the one below to be linked, leaving a core idle at every layer.
set(CMAKE_AUTOGEN_ORIGIN_DEPENDS OFF)

# lld links the sanitizer executables several times faster than the default linker.
option(KX_LLD "Link with lld where it is installed" ON)
if(KX_LLD)
    find_program(KX_LLD_PROGRAM ld.lld)
    if(KX_LLD_PROGRAM)
        add_link_options(-fuse-ld=lld)
    endif()
endif()

# The check build: sanitizer reports need file and line only, and -O1 is what the sanitizers are
# meant for; both halve the compiler's work against -O2 -g.
if((KX_SANITIZE OR KX_FUZZ) AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    add_compile_options(-O1 -gline-tables-only)
endif()

# The test code itself (not the libraries it tests) is compiled without optimisation in the check
# build: the sanitizers check it alike, and its long test bodies took the optimiser most of the
# build's time. Its precompiled headers are made the same way, as they must match.
if((KX_SANITIZE OR KX_FUZZ) AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    set(KX_TEST_CODE_OPTIONS -O0)
endif()
function(kx_test_code target)
    target_compile_options(${target} PRIVATE ${KX_TEST_CODE_OPTIONS})
endfunction()

# Unity build: each target's files are compiled a few at a time as one file, so the headers and
# templates they share are compiled once per batch. On by default in the check build; the other
# builds compile file by file, which keeps every file's own includes checked. A file whose names
# clash with another's in the same target is kept out (SKIP_UNITY_BUILD_INCLUSION in its folder).
if(KX_SANITIZE OR KX_FUZZ)
    set(kx_unity_default ON)
else()
    set(kx_unity_default OFF)
endif()
option(KX_UNITY "Compile each target's files in batches" ${kx_unity_default})
if(KX_UNITY)
    set(CMAKE_UNITY_BUILD ON)
    # Small enough that changing one file recompiles a few seconds' worth, not a whole library.
    set(CMAKE_UNITY_BUILD_BATCH_SIZE 8)
endif()

# A precompiled header ties its users to the compiler definitions it was made with: a macro
# defined for the header must be defined alike for every file using it. So there is one header
# per kind of target, owned by a small library carrying exactly the definitions that kind shares
# (Qt's module macros, GoogleTest's); targets of that kind reuse it, whatever they add.
# clang only: gcc loads a precompiled header whole into every compile (hundreds of MB here), and
# the gcc build run.sh uses keeps sharing its compiler cache with earlier builds.
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    set(kx_pch_default ON)
else()
    set(kx_pch_default OFF)
endif()
option(KX_PCH "Reuse precompiled Qt, standard library and GoogleTest headers" ${kx_pch_default})

set(KX_PCH_DIR ${CMAKE_CURRENT_LIST_DIR}/pch)
file(WRITE ${CMAKE_BINARY_DIR}/kx_pch_owner.cpp "")

function(kx_pch_owner kind)
    add_library(kx_pch_${kind} STATIC ${CMAKE_BINARY_DIR}/kx_pch_owner.cpp)
    set_target_properties(kx_pch_${kind} PROPERTIES AUTOMOC OFF)
    target_link_libraries(kx_pch_${kind} PRIVATE ${ARGN})
    target_precompile_headers(kx_pch_${kind} PRIVATE ${KX_PCH_DIR}/${kind}.h)
endfunction()

if(KX_PCH)
    # The compiler cache takes precompiled headers only when told that their timestamps and
    # definitions do not matter (clang then also must leave the timestamps out), and serves a
    # clone in another folder only through ccache_launcher.sh. No compiled file names the folder
    # it was compiled in, so what the cache serves to another clone names none either: __FILE__
    # (GoogleTest's messages) is relative to the clone, also in a unity batch, which includes its
    # files by absolute path.
    if(CMAKE_CXX_COMPILER_LAUNCHER MATCHES "ccache")
        set(CMAKE_CXX_COMPILER_LAUNCHER ${CMAKE_CURRENT_LIST_DIR}/ccache_launcher.sh)
        if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
            add_compile_options(-Xclang -fno-pch-timestamp -fdebug-compilation-dir=.
                -fmacro-prefix-map=${CMAKE_SOURCE_DIR}/=)
        endif()
    endif()
    kx_pch_owner(core Qt6::Core Qt6::Network)
    kx_pch_owner(views Qt6::Core Qt6::Network Qt6::Widgets)
    if(KX_BUILD_TESTS)
        kx_pch_owner(tests Qt6::Core Qt6::Network GTest::gtest)
        kx_test_code(kx_pch_tests)
        # QtTest's headers without Qt6::Test's per-target definitions (the folder of each test).
        kx_pch_owner(view_tests Qt6::Core Qt6::Network Qt6::Widgets GTest::gtest)
        target_include_directories(kx_pch_view_tests SYSTEM PRIVATE
            $<TARGET_PROPERTY:Qt6::Test,INTERFACE_INCLUDE_DIRECTORIES>)
        target_compile_definitions(kx_pch_view_tests PRIVATE QT_TESTLIB_LIB)
        kx_test_code(kx_pch_view_tests)
    endif()
endif()

# Gives a target the precompiled header of its kind: core, views, tests or view_tests.
function(kx_use_pch target kind)
    if(KX_PCH)
        target_precompile_headers(${target} REUSE_FROM kx_pch_${kind})
    endif()
endfunction()
