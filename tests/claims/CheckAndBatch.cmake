# --check and batch use of veltrum-claims: exit statuses, JSON Lines, a
# missing file among good ones, and the same output on one thread or two.
set(checks ${FIXTURES}/checks)
set(pump ${FIXTURES}/pump-claims.txt)

# Runs veltrum-claims; sets out, err and got in the caller.
function(run)
  execute_process(COMMAND ${CLI} ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE stdout
                  ERROR_VARIABLE stderr)
  set(out "${stdout}" PARENT_SCOPE)
  set(err "${stderr}" PARENT_SCOPE)
  set(got "${result}" PARENT_SCOPE)
endfunction()

function(expect status pattern)
  run(${ARGN})
  if(NOT got EQUAL status)
    message(FATAL_ERROR "veltrum-claims ${ARGN}: exit ${got}, expected ${status}\n${out}\n${err}")
  endif()
  if(NOT out MATCHES "${pattern}")
    message(FATAL_ERROR "veltrum-claims ${ARGN}: output does not match ${pattern}:\n${out}")
  endif()
  set(err "${err}" PARENT_SCOPE)
endfunction()

# Warnings only, errors, and the name of an example.
expect(0 "a-pump.txt:6: warning: claim 3: US practice: this claim refers to claims 1 and 2 together"
       --check ${checks}/a-pump.txt)
expect(1 "^[^\n]*b-valve.txt:5: error: claim 2: refers to claim 3, which comes after it; [^\n]*\n[^\n]*b-valve.txt:5: error: claim 2: gets no box[^\n]*\n[^\n]*b-valve.txt: US fees: 3 claims as counted for fees \\(0 over 20\\), 1 independent \\(0 over 3\\), no multiple dependent claim\n[^\n]*b-valve.txt: EP claims fee: 3 claims, 0 from the 16th to the 50th, 0 from the 51st on\n$"
       --check ${checks}/b-valve.txt)
expect(0 "^example-4:31: warning: claim 5: US practice:" --check --example 4)
expect(0 "^[^\n]*pump-claims.txt: US fees: 5 claims as counted for fees" --check ${pump})

# --skip leaves kinds out, errors too, and the exit status follows; a kind
# it does not know is an argument error. --wording adds the wording checks.
expect(0 "^[^\n]*b-valve.txt: US fees: [^\n]*\n[^\n]*b-valve.txt: EP claims fee: [^\n]*\n$"
       --check --skip later-reference --skip=no-box ${checks}/b-valve.txt)
expect(2 "^$" --check --skip gaps ${checks}/b-valve.txt)
if(NOT err MATCHES "^veltrum-claims: --skip: unknown kind of problem 'gaps'; the kinds are missing-reference, [^\n]*, [a-z-]+\n")
  message(FATAL_ERROR "--skip gaps: ${err}")
endif()
expect(0 "pump-claims.txt:6: warning: claim 3: EP practice: this claim is a further independent apparatus claim after claim 1;"
       --check --wording ${pump})
expect(0 "^[^\n]*pump-claims.txt: US fees" --check --wording --skip category-count ${pump})

# Standard input is "-".
execute_process(COMMAND ${CLI} --check - INPUT_FILE ${checks}/b-valve.txt
                RESULT_VARIABLE got OUTPUT_VARIABLE out)
if(NOT got EQUAL 1 OR NOT out MATCHES "^-:5: error: claim 2: ")
  message(FATAL_ERROR "--check -: exit ${got}\n${out}")
endif()

# A folder: its .txt files in name order, one JSON object per line.
expect(0 "^{ \"file\": \"[^\"]*a-pump.txt\", \"reading\": \"standard\", \"claimCount\": 3, [^\n]*\"fees\": [^\n]*}\n{ \"file\": \"[^\"]*b-valve.txt\", [^\n]*\"problems\": \\[ { \"claim\": 2, \"line\": 5, \"severity\": \"error\", \"kind\": \"later-reference\", [^\n]*}\n$"
       --json ${checks})
expect(1 "b-valve.txt:5: error" --check ${checks})
expect(0 "^[^\n]*a-pump.txt: Tree of claims: independent 1; dependent 2; total 3\n[^\n]*pump-claims.txt: Tree of claims: independent 2; dependent 2; total 4\n$"
       ${checks}/a-pump.txt ${pump})

# A missing file gets its own line; the others are still analysed.
expect(2 "^[^\n]*pump-claims.txt: Tree[^\n]*\n[^\n]*a-pump.txt: Tree[^\n]*\n$"
       ${pump} ${checks}/no-such-file.txt ${checks}/a-pump.txt)
if(NOT err MATCHES "^veltrum-claims: cannot open [^\n]*no-such-file.txt: No such file or directory\n$")
  message(FATAL_ERROR "missing file: ${err}")
endif()
expect(2 "{ \"file\": \"[^\"]*no-such-file.txt\", \"error\": \"cannot open " --json ${pump}
       ${checks}/no-such-file.txt)

# One thread or two: the same output, in argument order.
set(many ${checks} ${pump} ${checks}/b-valve.txt ${checks} ${pump} ${checks} ${pump})
foreach(mode --json --check --tree)
  run(${mode} --jobs 1 ${many})
  set(one "${out}")
  run(${mode} --jobs=2 ${many})
  if(NOT one STREQUAL out OR one STREQUAL "")
    message(FATAL_ERROR "${mode}: --jobs 1 and --jobs 2 differ:\n${one}\n---\n${out}")
  endif()
endforeach()

# Uneven files on two threads: a small file after a large one is ready
# first, yet its line comes in its place. Each file's count names it.
set(uneven)
set(expected "")
foreach(i RANGE 39)
  math(EXPR large "${i} % 4")
  if(large EQUAL 0)
    math(EXPR claims "40000 + ${i}")
  else()
    math(EXPR claims "${i} + 1")
  endif()
  string(REPEAT " 1. A pump.\n" ${claims} text)
  set(file ${WORK}/uneven-${i}.txt)
  file(WRITE ${file} "We claim:\n${text}")
  list(APPEND uneven ${file})
  # Claims of one number count once in the total.
  math(EXPR dependent "1 - ${claims}")
  string(APPEND expected "${file}: Tree of claims: independent ${claims}; dependent ${dependent}; total 1\n")
endforeach()
run(--jobs 2 ${uneven})
if(NOT got EQUAL 0 OR NOT out STREQUAL expected)
  message(FATAL_ERROR "uneven files on two threads: exit ${got}\n${out}\n---\n${expected}")
endif()

# UTF-16 and marked UTF-8 read as the window reads them: the same claims as
# the plain file, alone or in a batch.
run(--json ${pump})
set(plain "${out}")
foreach(encoding utf16le utf16be utf8-bom)
  set(encoded ${FIXTURES}/encoded/pump-claims-${encoding}.txt)
  run(--json ${encoded})
  # Standard input too: its UTF-16 holds zero bytes before the text ends.
  execute_process(COMMAND ${CLI} --json - INPUT_FILE ${encoded} RESULT_VARIABLE piped
                  OUTPUT_VARIABLE piped_out)
  if(NOT got EQUAL 0 OR NOT out STREQUAL plain OR NOT piped EQUAL 0 OR NOT piped_out STREQUAL plain)
    message(FATAL_ERROR "${encoding}: exit ${got}, ${piped}\n${out}\n---\n${piped_out}\n---\n${plain}")
  endif()
  expect(0 "^[^\n]*pump-claims.txt: Tree of claims: independent 2; dependent 2; total 4\n[^\n]*${encoding}.txt: Tree of claims: independent 2; dependent 2; total 4\n$"
         ${pump} ${encoded})
endforeach()

# A link in a folder that leads round in a loop or nowhere is no file that
# can be read: named, like a missing one, not passed over.
set(links ${WORK}/linked-drafts)
file(REMOVE_RECURSE ${links})
file(MAKE_DIRECTORY ${links})
file(COPY ${checks}/a-pump.txt DESTINATION ${links})
file(CREATE_LINK loop.txt ${links}/loop.txt SYMBOLIC)
file(CREATE_LINK moved.txt ${links}/dangling.txt SYMBOLIC)
expect(2 "^[^\n]*a-pump.txt: Tree of claims: independent 1; dependent 2; total 3\n$" ${links})
if(NOT err MATCHES "^veltrum-claims: cannot open [^\n]*dangling.txt: No such file or directory\nveltrum-claims: cannot open [^\n]*loop.txt: Too many levels of symbolic links\n$")
  message(FATAL_ERROR "links in a folder: ${err}")
endif()

# Documents known by their content: a weekly XML file gives one JSON line per
# document, naming it and the format; other reports prefix FILE#NUMBER.
set(documents ${FIXTURES}/documents)
expect(0 "^{ \"file\": \"[^\"]*weekly.xml\", \"document\": \"US09999001B2\", \"format\": \"uspto-xml\", \"reading\": \"standard\", \"claimCount\": 3, [^\n]*}\n{ \"file\": \"[^\"]*weekly.xml\", \"document\": \"US09999002B2\", \"format\": \"uspto-xml\", [^\n]*\"claimCount\": 2, [^\n]*}\n$"
       --json ${documents}/weekly.xml)
expect(0 "^[^\n]*weekly.xml#US09999001B2: Tree of claims: independent 1; dependent 2; total 3\n[^\n]*weekly.xml#US09999002B2: Tree of claims: independent 1; dependent 1; total 2\n$"
       ${documents}/weekly.xml)
expect(0 "^{\n  \"format\": \"html\",\n  \"reading\": \"standard\",\n  \"claimCount\": 2," --json
       ${documents}/claims-page.html)
# English by default, the language asked for, and one the file lacks.
expect(0 "total 3\n$" ${documents}/three-languages.xml)
expect(0 "total 2\n$" --language de ${documents}/three-languages.xml)
expect(2 "^$" --language it ${documents}/three-languages.xml)
if(NOT err MATCHES "three-languages.xml has no claims in language it \\(it has en, de\\)\n$")
  message(FATAL_ERROR "--language it: ${err}")
endif()
# Of a weekly file, a document without the language asked for is read in its own.
expect(0 "^[^\n]*#US09999001B2: [^\n]*\n[^\n]*#US09999002B2: [^\n]*total 2\n$" --language de
       ${documents}/weekly.xml)
if(NOT err MATCHES "weekly.xml#US09999001B2 has no claims in language de \\(it has unmarked\\): its own claims are read\n")
  message(FATAL_ERROR "--language de of a weekly file: ${err}")
endif()
# Where the markup's claim links and the text's references disagree, the
# checks name both; the JSON report lists it by its kind.
set(linked ${WORK}/linked.xml)
file(WRITE ${linked} "<?xml version=\"1.0\"?>\n<us-patent-grant lang=\"EN\"><claims id=\"claims\">\n"
  "<claim id=\"CLM-00001\" num=\"00001\"><claim-text>1. A pump.</claim-text></claim>\n"
  "<claim id=\"CLM-00002\" num=\"00002\"><claim-text>2. The pump of <claim-ref idref=\"CLM-00001\">claim 1</claim-ref>.</claim-text></claim>\n"
  "<claim id=\"CLM-00003\" num=\"00003\"><claim-text>3. The pump of <claim-ref idref=\"CLM-00001\">claim 2</claim-ref>.</claim-text></claim>\n"
  "</claims></us-patent-grant>\n")
expect(0 "^[^\n]*linked.xml:5: warning: claim 3: is linked to claim 1 in the markup, but its text refers to claim 2\\.\n"
       --check ${linked})
expect(0 "\"claim-link\"" --json ${linked})
# A Word draft's tracked changes as accepted, and as the original text.
expect(0 "total 2\n$" ${documents}/tracked.docx)
expect(0 "total 1\n$" --original-text ${documents}/tracked.docx)
# A damaged document: its name and the fault, and the other files still read.
expect(2 "^[^\n]*pump-claims.txt: Tree[^\n]*\n$" ${pump} ${documents}/damaged.docx)
if(NOT err MATCHES "^veltrum-claims: [^\n]*damaged.docx is a damaged or truncated zip container\n$")
  message(FATAL_ERROR "damaged document: ${err}")
endif()

# Where the other reading finds other claims or references, one line on
# standard error says so, in every mode and for every file of a batch; the
# reports themselves are those of the reading in use, and --check lists it
# as a problem. Claims from 100 on that the standard reading leaves out are
# an error.
set(readings ${WORK}/readings)
file(REMOVE_RECURSE ${readings})
file(MAKE_DIRECTORY ${readings})
file(WRITE ${readings}/agreeing.txt "We claim:\n1. A pump.\n2. The pump of claim 1.\n")
file(WRITE ${readings}/bracketed.txt "A pump\n\nClaims:\n(1) A pump.\n(2) The pump of claim 1.\n")
file(WRITE ${readings}/preceding.txt "We claim:\n1. A pump.\n2. The pump of Claim I.\n")
set(many_claims "We claim:\n1. A pump.\n")
foreach(n RANGE 2 120)
  string(APPEND many_claims "${n}. The pump of claim 1.\n")
endforeach()
file(WRITE ${readings}/many.txt "${many_claims}")
set(standard_none "[^\n]*bracketed.txt: the standard reading found 0 claims<sc> the lenient reading finds 2 \\(use --lenient\\)\n")
# args | exit | standard output | standard error ("-" for none); "<sc>" is ";"
set(reading_cases
  "${readings}/bracketed.txt|0|^Tree of claims: independent 0<sc> dependent 0<sc> total 0\n$|^veltrum-claims: ${standard_none}$"
  "--lenient|${readings}/bracketed.txt|0|^Tree of claims: independent 1<sc> dependent 1<sc> total 2\n$|^veltrum-claims: [^\n]*bracketed.txt: the lenient reading found 2 claims<sc> the standard reading finds 0 \\(without --lenient\\)\n$"
  "--check|${readings}/bracketed.txt|0|^[^\n]*bracketed.txt:4: warning: claim 1: The standard reading finds no claims<sc> the lenient reading finds 2.\n[^\n]*US fees: 0 claims|${standard_none}"
  "--check|${readings}/preceding.txt|0|:3: warning: claim 2: The standard and the lenient reading each find 2 claims but read 1 of them differently.\n|the lenient reading reads 1 of them differently \\(use --lenient\\)\n$"
  "--check|${readings}/many.txt|1|^[^\n]*many.txt:101: warning: claim 100: The standard reading finds 99 claims<sc> the lenient reading finds 120.\n[^\n]*many.txt:101: error: claim 100: The standard reading leaves out claims 100 to 120, which the lenient reading finds<sc> the checks and fee counts cover only the claims before them.\n[^\n]*US fees: 99 claims|found 99 claims<sc> the lenient reading finds 120 \\(use --lenient\\)\n$"
  "--check|--lenient|${readings}/many.txt|0|^[^\n]*many.txt:101: warning: claim 100: The lenient reading finds 120 claims<sc> the standard reading finds 99.\n[^\n]*US fees: 120 claims|\\(without --lenient\\)\n$"
  "--check|--lenient|${readings}/agreeing.txt|0|^[^\n]*agreeing.txt: US fees|-"
  "--tree|${readings}/bracketed.txt|0|^$|${standard_none}"
  "--json|${readings}/agreeing.txt|0|\"problems\": \\[\\]|-"
  "--summary|--jobs|2|${readings}|0|^[^\n]*agreeing.txt: Tree[^\n]*\n[^\n]*bracketed.txt: Tree[^\n]*\n[^\n]*many.txt: Tree[^\n]*\n[^\n]*preceding.txt: Tree[^\n]*\n$|^veltrum-claims: ${standard_none}veltrum-claims: [^\n]*many.txt: [^\n]*\nveltrum-claims: [^\n]*preceding.txt: [^\n]*\n$")
foreach(case IN LISTS reading_cases)
  # "<sc>" stands for a semicolon, which would split the list.
  string(REPLACE "|" ";" fields "${case}")
  list(POP_BACK fields err_pattern out_pattern status)
  string(REPLACE "<sc>" ";" err_pattern "${err_pattern}")
  string(REPLACE "<sc>" ";" out_pattern "${out_pattern}")
  expect(${status} "${out_pattern}" ${fields})
  if(err_pattern STREQUAL "-" AND NOT err STREQUAL "")
    message(FATAL_ERROR "${fields}: nothing expected on standard error:\n${err}")
  elseif(NOT err_pattern STREQUAL "-" AND NOT err MATCHES "${err_pattern}")
    message(FATAL_ERROR "${fields}: standard error does not match ${err_pattern}:\n${err}")
  endif()
endforeach()
