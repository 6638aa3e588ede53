# Renders the user's guide from Markdown into a page of its own, tables, code blocks and heading
# anchors included. cmake -DMARKDOWN=markdown_py -DINPUT=guide.md -DOUTPUT=guide.html -P RenderGuide.cmake
execute_process(
  COMMAND ${MARKDOWN} -e utf-8 -x tables -x fenced_code -x toc ${INPUT}
  OUTPUT_VARIABLE body RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${MARKDOWN} failed on ${INPUT}:\n${errors}")
endif()
file(WRITE ${OUTPUT} "<!DOCTYPE html>
<html lang=\"en\">
<head>
<meta charset=\"utf-8\">
<title>Tovmar user's guide</title>
<style>
body { max-width: 50em; margin: 1em auto; padding: 0 1em; font-family: sans-serif; }
table { border-collapse: collapse; }
th, td { border: 1px solid #bbb; padding: 0.2em 0.5em; text-align: left; vertical-align: top; }
pre { background: #f4f4f4; padding: 0.5em; overflow-x: auto; }
img { max-width: 100%; }
</style>
</head>
<body>
${body}
</body>
</html>
")
