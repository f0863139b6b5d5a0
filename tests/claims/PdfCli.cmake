# PDFs through veltrum-claims: each claim's citation in JSON, a folder's
# PDFs, and a message naming the file, with exit status 2, for bad ones.
set(pdfs ${WORK}/pdfs)
file(REMOVE_RECURSE ${pdfs})
file(MAKE_DIRECTORY ${pdfs})
execute_process(COMMAND ${WRITER} ${pdfs} RESULT_VARIABLE written)
if(NOT written EQUAL 0)
  message(FATAL_ERROR "cannot write the test PDFs: ${written}")
endif()

function(expect status pattern errors)
  execute_process(COMMAND ${CLI} ${ARGN} RESULT_VARIABLE got OUTPUT_VARIABLE out
                  ERROR_VARIABLE err)
  if(NOT got EQUAL status OR NOT out MATCHES "${pattern}" OR NOT err MATCHES "${errors}")
    message(FATAL_ERROR "veltrum-claims ${ARGN}: exit ${got}, expected ${status}\n${out}\n${err}")
  endif()
endfunction()

# Claim 2 runs from the foot of column 2 to the head of column 3.
expect(0 "^{\n  \"format\": \"pdf\",\n  \"reading\": \"lenient\",.*\"number\": 2, [^}]*\"citation\": {\"page\": 1, \"column\": 2, \"line\": 56, \"to\": {\"page\": 2, \"column\": 3, \"line\": 1}} }" ""
       --lenient --json ${pdfs}/grant.pdf)
expect(0 "\"number\": 1, [^}]*\"citation\": {\"page\": 2, \"line\": 52, \"to\": {\"page\": 3, \"line\": 1}} }" ""
       --lenient --json ${pdfs}/publication.pdf)
expect(2 "^$" "^veltrum-claims: [^\n]*cut.pdf is a truncated PDF" ${pdfs}/cut.pdf)
# Read from standard input, zero bytes and all.
execute_process(COMMAND ${CLI} --lenient --json - INPUT_FILE ${pdfs}/grant.pdf
                RESULT_VARIABLE got OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT got EQUAL 0 OR NOT out MATCHES "\"number\": 4, [^}]*\"citation\": {\"page\": 2, \"column\": 3, \"lines\": \\[6, 7\\]}")
  message(FATAL_ERROR "a PDF on standard input: exit ${got}\n${out}\n${err}")
endif()
# A scan is recognised, and says so.
expect(0 "^{\n  \"format\": \"pdf\",\n  \"ocr\": true,\n.*\"claimCount\": 2," "" --lenient --json
       ${pdfs}/scan.pdf)
expect(2 "^$" "scan.pdf is a PDF of page images without text, and text recognition is off\n$"
       --no-ocr ${pdfs}/scan.pdf)
# A folder's PDFs, by name, each with its format; the cut one names its fault.
expect(2 "^{ \"file\": \"[^\"]*cut.pdf\", \"error\": [^\n]*\n{ \"file\": \"[^\"]*grant.pdf\", \"format\": \"pdf\", \"reading\": \"lenient\"[^\n]*\"citation\": {\"page\": 1, "
       "cut.pdf is a truncated PDF" --lenient --json ${pdfs})
