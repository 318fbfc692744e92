# Compiles the HTML Help project of this folder into Velumar.chm. chmcmd writes its output into
# the current folder and reports missing pages and broken links only as warnings, so the sources
# are copied into a fresh work folder, chmcmd runs there, and any error or warning fails the
# build before the result is copied to its place. SCREENSHOTS, a list of files kept elsewhere,
# join the sources there.
#
#   cmake -DCHMCMD=<chmcmd> -DSOURCE_DIR=<help sources> -DWORK_DIR=<work folder>
#         -DOUTPUT=<Velumar.chm> [-DSCREENSHOTS=<files>] -P compile_chm.cmake
foreach(var IN ITEMS CHMCMD SOURCE_DIR WORK_DIR OUTPUT)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "compile_chm.cmake: ${var} is not set")
    endif()
endforeach()

file(REMOVE ${OUTPUT})
file(REMOVE_RECURSE ${WORK_DIR})
file(COPY ${SOURCE_DIR}/ DESTINATION ${WORK_DIR}
     PATTERN "CMakeLists.txt" EXCLUDE
     PATTERN "*.cmake" EXCLUDE)
if(SCREENSHOTS)
    file(COPY ${SCREENSHOTS} DESTINATION ${WORK_DIR})
endif()

execute_process(COMMAND ${CHMCMD} velumar.hhp
                WORKING_DIRECTORY ${WORK_DIR}
                RESULT_VARIABLE result
                OUTPUT_VARIABLE output
                ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR output MATCHES "Warning|Error|exception")
    message(FATAL_ERROR "chmcmd could not compile the help file (exit code ${result}):\n${output}")
endif()
if(NOT EXISTS ${WORK_DIR}/Velumar.chm)
    message(FATAL_ERROR "chmcmd wrote no Velumar.chm:\n${output}")
endif()
cmake_path(GET OUTPUT PARENT_PATH output_dir)
file(MAKE_DIRECTORY ${output_dir})
file(COPY_FILE ${WORK_DIR}/Velumar.chm ${OUTPUT})
