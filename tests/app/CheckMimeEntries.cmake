# Builds a shared-mime-info database of the project's entries alone and checks that a ".llm" file
# and a document get their types by name, with the mesh type's comment in English and Japanese.
# cmake -DUPDATE_MIME_DATABASE=... -DSOURCE_DIR=... -DWORK_DIR=... -P CheckMimeEntries.cmake
file(REMOVE_RECURSE ${WORK_DIR})
set(database ${WORK_DIR}/mime)
file(MAKE_DIRECTORY ${database}/packages)
file(COPY ${SOURCE_DIR}/resources/tovmar-llm-mesh.xml ${SOURCE_DIR}/resources/tovmar-document.xml
     DESTINATION ${database}/packages)
# A database outside the data folders searched draws a note: the folder is made one of them.
execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_DIRS=${WORK_DIR} XDG_DATA_HOME=${WORK_DIR}
                        ${UPDATE_MIME_DATABASE} ${database}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR NOT output STREQUAL "")
  message(FATAL_ERROR "update-mime-database refused the entries:\n${output}")
endif()
file(READ ${database}/globs2 globs)
foreach(expected "model/x-llm-mesh:\\*\\.llm" "application/x-tovmar-document:\\*\\.tovm")
  if(NOT globs MATCHES "${expected}")
    message(FATAL_ERROR "the database lacks ${expected}:\n${globs}")
  endif()
endforeach()
file(READ ${database}/model/x-llm-mesh.xml entry)
foreach(expected "<comment>LLM avatar body mesh</comment>" "<comment xml:lang=\"ja\">")
  string(FIND "${entry}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the mesh type lacks ${expected}:\n${entry}")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK_DIR})
