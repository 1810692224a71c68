# The round-trip test as CTest runs it: quorzel converts fresh copies of the
# cursors, the test program is built with the texts it wrote, and runs.
# Old texts go first, so that a text the program fails to write is missing,
# not stale, and the build stops on it.
#   cmake -D RUN=wine-run -D BUILD=dir -D PROGRAM=quorzel.exe -D TEST_PROGRAM=roundtrip_test.exe
#         -D CURSORS=dir -D SOURCES=a.cur|b.cur|... -P roundtrip.cmake

function(run what)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${what} failed: ${result}")
    endif()
endfunction()

string(REPLACE "|" ";" SOURCES "${SOURCES}")
file(GLOB old_texts "${CURSORS}/*.cpp")
if(old_texts)
    file(REMOVE ${old_texts})
endif()
file(COPY ${SOURCES} DESTINATION "${CURSORS}")
set(names)
foreach(source IN LISTS SOURCES)
    get_filename_component(name "${source}" NAME)
    list(APPEND names "${name}")
endforeach()

# Relative names, in the folder of the cursors.
run("Converting the cursors with quorzel" ${CMAKE_COMMAND} -E chdir "${CURSORS}" "${RUN}" "${BUILD}" "${PROGRAM}" ${names})
run("Building the test program with the texts" ${CMAKE_COMMAND} --build "${BUILD}" --target roundtrip_test)
run("The round trip" ${CMAKE_COMMAND} -E chdir "${CURSORS}" "${RUN}" "${BUILD}" "${TEST_PROGRAM}")
