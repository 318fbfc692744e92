# The image decoders (libjpeg-turbo, libwebp, libheif with libde265 and dav1d, libjxl) as one
# INTERFACE target, velumar_decoders. On Windows they are the static libraries that
# scripts/decoders.sh builds from Debian's sources into a cache outside the clone; elsewhere
# (the native and fuzz builds) Debian's own -dev packages, found with pkg-config.
add_library(velumar_decoders INTERFACE)

if(WIN32)
    set(VELUMAR_DECODERS_PREFIX "" CACHE PATH
        "Where scripts/decoders.sh installed the decoders (empty: ask the script)")
    set(decoders_script ${CMAKE_SOURCE_DIR}/scripts/decoders.sh)
    # The prefix follows the pins and the script: a change to either configures anew.
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
        ${decoders_script} ${CMAKE_SOURCE_DIR}/scripts/decoders.pins)
    if(VELUMAR_DECODERS_PREFIX)
        set(decoders_prefix ${VELUMAR_DECODERS_PREFIX})
    else()
        execute_process(COMMAND ${decoders_script} --prefix
            OUTPUT_VARIABLE decoders_prefix OUTPUT_STRIP_TRAILING_WHITESPACE
            COMMAND_ERROR_IS_FATAL ANY)
    endif()
    if(NOT EXISTS ${decoders_prefix}/lib/libheif.a)
        message(FATAL_ERROR "The image decoders are not built (${decoders_prefix} is missing): "
            "run scripts/decoders.sh first (scripts/test.sh, run.sh and package.sh do).")
    endif()
    message(STATUS "Image decoders: ${decoders_prefix}")
    set(VELUMAR_DECODERS_LICENSES ${decoders_prefix}/licenses)

    # Each library before the ones it uses. JPEG XL is left out when its pins are.
    set(decoders_libs heif de265 dav1d)
    if(EXISTS ${decoders_prefix}/lib/libjxl_dec.a)
        list(APPEND decoders_libs jxl_dec hwy brotlidec brotlicommon)
        target_compile_definitions(velumar_decoders INTERFACE VELUMAR_HAVE_JXL)
    endif()
    list(APPEND decoders_libs webpdemux webpdecoder jpeg)
    foreach(lib IN LISTS decoders_libs)
        target_link_libraries(velumar_decoders INTERFACE ${decoders_prefix}/lib/lib${lib}.a)
    endforeach()
    target_include_directories(velumar_decoders SYSTEM INTERFACE ${decoders_prefix}/include)
    target_compile_definitions(velumar_decoders INTERFACE LIBHEIF_STATIC_BUILD
        LIBDE265_STATIC_BUILD JXL_STATIC_DEFINE)
    find_package(Threads REQUIRED)
    target_link_libraries(velumar_decoders INTERFACE Threads::Threads)
else()
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(VELUMAR_DECODERS REQUIRED IMPORTED_TARGET
        libjpeg libwebp libwebpdemux libheif libjxl)
    target_link_libraries(velumar_decoders INTERFACE PkgConfig::VELUMAR_DECODERS)
    target_compile_definitions(velumar_decoders INTERFACE VELUMAR_HAVE_JXL)
endif()
