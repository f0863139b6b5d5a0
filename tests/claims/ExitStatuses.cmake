# Runs veltrum-claims with argument lists and checks each exit status.
function(expect status)
  execute_process(COMMAND ${CLI} ${ARGN} RESULT_VARIABLE got OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT got EQUAL status)
    message(FATAL_ERROR "veltrum-claims ${ARGN}: exit ${got}, expected ${status}\n${out}\n${err}")
  endif()
  if(status EQUAL 3 AND NOT out STREQUAL "")
    message(FATAL_ERROR "veltrum-claims ${ARGN}: wrote to standard output over the limit")
  endif()
endfunction()

set(pump ${FIXTURES}/pump-claims.txt)
expect(0 ${pump})
expect(0 --tree ${pump})
expect(0 --json --summary ${pump})
expect(0 --max-nodes=5 --tree ${pump})
expect(3 --tree --max-nodes 4 ${pump})
expect(3 --max-nodes=0 --tree ${pump})
expect(0 --max-nodes=0 ${pump})
expect(2 --max-nodes ${pump})
expect(2 --max-nodes=-1 ${pump})
expect(2 --max-nodes=12x ${pump})
expect(2)
expect(0 ${pump} ${pump})
expect(2 --jobs 0 ${pump})
expect(2 --jobs=x ${pump})
expect(0 --example 4)
expect(0 --full-text 4 ${pump})
expect(2 --full-text 9 ${pump})
expect(2 --full-text ${pump})
expect(0 --lenient --tree --example 4)
expect(0 --summary --lenient ${pump})
expect(2 --example 6)
expect(2 --example=0)
expect(2 --example 1 ${pump})

# Each failure has its own status and one-line message; the command runs
# under sh so that it can write to /dev/full or run under a memory limit.
function(expect_message status message command)
  execute_process(COMMAND sh -c "${command}" ${CLI} ${ARGN}
                  RESULT_VARIABLE got OUTPUT_QUIET ERROR_VARIABLE err)
  if(NOT got EQUAL status OR NOT err MATCHES "^veltrum-claims: ${message}\n$")
    message(FATAL_ERROR "${command} ${ARGN}: exit ${got}, expected ${status}\n${err}")
  endif()
endfunction()

# Claims 2 to 15 each refer to any preceding claim: 16,384 nodes, more
# output than one buffer holds.
set(doubling ${WORK}/doubling-claims.txt)
set(text "We claim:\n 1. A pump.\n")
foreach(n RANGE 2 15)
  string(APPEND text " ${n}. The pump of any preceding claim.\n")
endforeach()
file(WRITE ${doubling} "${text}")
# Claim 2 again and again below itself: 2^40 + 1 nodes, past the tree's node limit
# long before the full count.
set(selfreferring ${WORK}/self-referring-claims.txt)
string(REPEAT " 2. The pump of claim 2.\n" 40 text)
file(WRITE ${selfreferring} "We claim:\n 1. A pump.\n 2. The pump of claim 1.\n${text}")

set(stdout "exec \"$0\" \"$@\"")
set(unwritable "cannot write the report of [^\n]*: No space left on device")
expect_message(2 "${unwritable}" "${stdout} > /dev/full" --tree ${doubling})
expect_message(2 "${unwritable}" "${stdout} > /dev/full" --json ${doubling})
expect_message(2 "${unwritable}" "${stdout} > /dev/full" --summary ${pump})
# A batch stops at the first report it cannot write: the missing file after
# it is never opened, so its message would show.
expect_message(2 "cannot write the report of [^\n]*pump-claims.txt: No space left on device"
               "${stdout} > /dev/full" --jobs 1 ${pump} ${pump} ${WORK}/no-such-file.txt)
expect_message(2 "${unwritable}" "${stdout} > /dev/full" --json --jobs 2 ${doubling} ${pump})
expect_message(3 "[^\n]*doubling-claims.txt: the tree has 16384 nodes, over the limit of 16383"
               "${stdout}" --tree --max-nodes 16383 ${doubling})
expect_message(3 "[^\n]*self-referring-claims.txt: the tree's node limit of 2000000 was reached"
               "${stdout}" --tree --max-nodes 2199023255552 ${selfreferring})
expect_message(3 "[^\n]*self-referring-claims.txt: the tree has 1099511627777 nodes, over the limit of 1000000"
               "${stdout}" --tree ${selfreferring})
# Claim 3 is the first claim the node limit left out: 20 claims 2 take a
# million nodes, claim 3 would double them. Not missing, cut off. Claim 9 is
# in no part of the text.
string(REPEAT " 2. The pump of claim 2.\n" 20 text)
set(cut ${WORK}/cut-before-claim-3.txt)
file(WRITE ${cut} "We claim:\n 1. A pump.\n 2. The pump of claim 1.\n${text} 3. The pump of claim 2.\n")
expect_message(3 "[^\n]*cut-before-claim-3.txt: the tree was cut at its node limit of 2000000 nodes before claim 3"
               "${stdout}" --full-text 3 ${cut})
expect_message(2 "[^\n]*cut-before-claim-3.txt: claim 9 is not in the tree" "${stdout}" --full-text 9 ${cut})
expect(0 --full-text 2 ${cut})

expect_message(2 "cannot write the version: No space left on device" "${stdout} > /dev/full" --version)

# Inputs that never end or are mostly nothing: refused or cut, never read whole.
expect_message(2 "/dev/zero is a device, not a file" "${stdout}" /dev/zero)
expect_message(2 "/dev/zero is a device, not a file" "${stdout}" --json ${pump} /dev/zero)
set(sparse ${WORK}/sparse-claims.txt)
file(WRITE ${sparse} "We claim:\n 1. A pump.\n")
execute_process(COMMAND truncate -s 2G ${sparse})
expect_message(2 "[^\n]*sparse-claims.txt is 2147483648 bytes, more than the 1073741824 bytes a text may have"
               "${stdout}" ${sparse})
# A file is mapped, not copied: past the limit of what is read into memory,
# and only read up to its first zero byte.
execute_process(COMMAND truncate -s 600M ${sparse})
execute_process(COMMAND ${CLI} ${sparse} RESULT_VARIABLE got OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT got EQUAL 0 OR NOT out MATCHES "independent 1; dependent 0; total 1\n")
  message(FATAL_ERROR "600 MB sparse text: exit ${got}\n${out}\n${err}")
endif()
file(REMOVE ${sparse})
# Read up to the limit in far less than twice its memory: 393,340 kB of
# address space beyond what the program takes before it reads (its code and
# libraries, measured while it waits on its input, so that the bound does not
# move with the size of the program).
if(MEMORY_LIMIT)
  execute_process(COMMAND sh -c "sleep 3 | \"$0\" - > /dev/null 2>&1 & sleep 1; sed -n 's/^VmSize:[^0-9]*\\([0-9]*\\).*/\\1/p' /proc/$!/status" ${CLI}
                  OUTPUT_VARIABLE base OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT base MATCHES "^[0-9]+$")
    message(FATAL_ERROR "the program's own address space could not be measured: '${base}'")
  endif()
  math(EXPR bound "${base} + 393340")
  set(bounded "ulimit -v ${bound} && ")
endif()
expect_message(2 "standard input holds more than the 268435456 bytes a text may have"
               "${bounded}yes 'We claim:' | ${stdout}" -)

# 1,001 claims numbered 1 and 1,000 referring to them all: one edge over the
# graph's limit. 10,001 claims: one more than a matrix takes.
string(REPEAT " 1. A pump.\n" 1001 ones)
string(REPEAT " 2. The pump of claim 1.\n" 1000 twos)
set(repeated ${WORK}/repeated-numbers.txt)
file(WRITE ${repeated} "We claim:\n${ones}${twos}")
expect_message(3 "[^\n]*repeated-numbers.txt: the claim graph takes at most 1000000 edges"
               "${stdout}" --dot ${repeated})
string(REPEAT " 1. A pump.\n" 10001 ones)
set(many ${WORK}/many-claims.txt)
file(WRITE ${many} "We claim:\n${ones}")
expect_message(3 "[^\n]*many-claims.txt: the dependency matrix takes at most 10000 claims, not 10001"
               "${stdout}" --matrix ${many})

# Claim 1 named 10,000 times: as many nodes, each with a 30 kB caption; a
# tree may take 64 bytes for each of the 30,048 bytes of text and 4 MiB.
string(REPEAT ", 1" 10000 ones)
set(named ${WORK}/named-many-times.txt)
file(WRITE ${named} "We claim:\n 1. A pump.\n 2. The pump of claims 1${ones}.\n")
expect_message(3 "[^\n]*named-many-times.txt: the tree takes more than 6117376 bytes"
               "${stdout}" --tree ${named})

# 400,000 claims cannot be analysed in 150 MB of address space, of which
# the program's libraries (Qt Core and ICU, to read documents) take some 80
# MB before it reads a byte. The sanitizers reserve far more for themselves.
if(MEMORY_LIMIT)
  expect_message(2 "standard input: not enough memory"
                 "ulimit -v 150000 && { echo 'We claim:'; yes ' 1. A pump.' | head -n 400000; } | ${stdout}" -)
endif()

# Comparing two versions: two inputs, any format; a listing only with --compare.
set(filed ${FIXTURES}/compare/fan-filed.txt)
set(amended ${FIXTURES}/compare/fan-amended.txt)
expect(0 --compare ${filed} ${amended})
expect(0 --compare --html ${filed} ${amended})
expect(2 --compare ${filed})
expect(2 --compare ${filed} ${amended} ${amended})
expect(2 --compare --tree ${filed} ${amended})
expect(2 --html ${filed})
expect(2 --compare ${filed} ${FIXTURES}/documents/damaged.docx)
expect_message(2 "cannot open [^\n]*no-such-file.txt: No such file or directory" "${stdout}"
               --compare ${filed} ${WORK}/no-such-file.txt)
expect_message(2 "cannot write the comparison of [^\n]*: No space left on device"
               "${stdout} > /dev/full" --compare ${filed} ${amended})
# The Word listing read back as the later version: its status identifiers
# are the statuses.
execute_process(COMMAND ${CLI} --compare --docx ${filed} ${amended}
                OUTPUT_FILE ${WORK}/listing.docx RESULT_VARIABLE got)
execute_process(COMMAND ${CLI} --compare --json ${filed} ${WORK}/listing.docx
                RESULT_VARIABLE got2 OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT got EQUAL 0 OR NOT got2 EQUAL 0 OR NOT out MATCHES
   "\"number\": 1, \"from\": 1, \"status\": \"Currently Amended\".*\"number\": 2, \"from\": 2, \"status\": \"Canceled\".*\"number\": 4, \"from\": null, \"status\": \"New\"")
  message(FATAL_ERROR "Word listing read back: exit ${got} ${got2}\n${out}\n${err}")
endif()
# A Word document is never written to a terminal.
execute_process(COMMAND script -qec "'${CLI}' --compare --docx '${filed}' '${amended}'" /dev/null
                RESULT_VARIABLE got OUTPUT_VARIABLE out)
if(NOT got EQUAL 2 OR NOT out MATCHES "a Word document is no text for a terminal")
  message(FATAL_ERROR "Word listing to a terminal: exit ${got}\n${out}")
endif()
