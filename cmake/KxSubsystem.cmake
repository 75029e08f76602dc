# A subsystem folder gives up to two libraries, each made of the files it names: the core
# (QtCore/QtNetwork only, so it builds and is tested without a display) and the views (QtWidgets,
# on top of the core). A widget used from a core file fails to compile there.
function(kx_subsystem name)
    cmake_parse_arguments(ARG "" "" "CORE;VIEWS;CORE_DEPS;VIEW_DEPS" ${ARGN})
    add_library(kx_${name} STATIC ${ARG_CORE})
    target_include_directories(kx_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(kx_${name} PUBLIC Qt6::Core Qt6::Network ${ARG_CORE_DEPS})
    kx_use_pch(kx_${name} core)
    if(ARG_VIEWS)
        add_library(kx_${name}_views STATIC ${ARG_VIEWS})
        target_link_libraries(kx_${name}_views PUBLIC kx_${name} Qt6::Widgets ${ARG_VIEW_DEPS})
        kx_use_pch(kx_${name}_views views)
    endif()
endfunction()

# A GoogleTest suite made of every .cpp in the calling folder. Its files are compiled as the
# object library test_<name> (for the folder's own definitions and dependencies) and linked into
# one of two test programs, kx_core_tests or, with GUI (a QApplication, offscreen), kx_view_tests:
# two big links instead of one per folder, which under the sanitizers cost more than compiling.
function(kx_test_suite name)
    cmake_parse_arguments(ARG "GUI" "" "LIBS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(NOT sources)
        return()
    endif()
    add_library(test_${name} OBJECT ${sources})
    target_link_libraries(test_${name} PUBLIC ${ARG_LIBS} kx_testsupport)
    kx_test_code(test_${name})
    if(ARG_GUI)
        target_link_libraries(test_${name} PUBLIC Qt6::Widgets Qt6::Test)
        kx_use_pch(test_${name} view_tests)
        target_link_libraries(kx_view_tests PRIVATE test_${name})
    else()
        kx_use_pch(test_${name} tests)
        target_link_libraries(kx_core_tests PRIVATE test_${name})
    endif()
endfunction()
